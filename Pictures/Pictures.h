#pragma once
// The program's own pictures: the program icon and the command buttons'
// 24 x 24 pictures, drawn in one flat style (dark outline, paper, one accent).

#include <QIcon>
#include <QImage>

namespace mivrel {

// The program icon at `size` x `size` pixels (any size; drawn, not scaled).
QImage ProgramIconImage(int size);
// The program icon in the sizes windows use (the theme's larger sizes are
// installed as files and not drawn at start-up).
QIcon ProgramIcon();

enum class ButtonPictureKind { Clear = 0, Verify = 1, Check = 2, Trial = 3, About = 4 };
// A button's picture, 24 x 24 (also at twice the size when a dense screen is
// attached). Needs a QGuiApplication.
QIcon ButtonPicture(ButtonPictureKind kind);

// The check mark of an OK button, 16 x 16 (and 32 x 32).
QIcon OkGlyph();

} // namespace mivrel
