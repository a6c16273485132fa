#pragma once
// The about box: program name, version and the maker's notice; OK closes it.

#include <QDialog>

namespace mivrel {

class TdlgAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TdlgAboutBox(QWidget *parent = nullptr);
};

} // namespace mivrel
