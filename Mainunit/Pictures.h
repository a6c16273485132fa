#pragma once
// The program's own pictures: the program icon and the command buttons'
// 24 x 24 pictures, drawn in one flat style (dark outline, paper, one accent).

#include <QIcon>
#include <QImage>

namespace mivrel {

// The program icon at `size` x `size` pixels (any size; drawn, not scaled).
QImage ProgramIconImage(int size);
// The program icon in the usual sizes, for windows and the about box.
QIcon ProgramIcon();

enum class ButtonPictureKind { Clear = 0, Verify = 1, Check = 2, Trial = 3, About = 4 };
// A button's picture, 24 x 24 (also at twice the size for dense screens).
QIcon ButtonPicture(ButtonPictureKind kind);

} // namespace mivrel
