#include "Aboutbox/Aboutbox.h"

#include "Pictures/Pictures.h"
#include "Verify/CaptionLabels.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

namespace mivrel {
namespace {

QLabel *AddLabel(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->adjustSize();
    label->move(left, top);
    return label;
}

} // namespace

TdlgAboutBox::TdlgAboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgAboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    QFont font(QStringLiteral("System"));
    font.setPixelSize(13);
    setFont(font);
    setFixedSize(298, 213);

    // Outer bevel lowered, inner raised: an etched box.
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setGeometry(8, 8, 281, 161);

    auto *icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(QPixmap::fromImage(ProgramIconImage(32)));
    icon->setGeometry(16, 16, 32, 32);

    const QLabel *lines[] = {
        AddLabel(panel, "ProductName", QStringLiteral("Mivrel"), 88, 16),
        AddLabel(panel, "Version", QStringLiteral("Version 1.32 (for Win32)"), 80, 32),
        AddLabel(panel, "Revision", QStringLiteral("平成８年版 CALS非対応"), 77, 48),
        AddLabel(panel, "Copyright", QStringLiteral("Copyright (C) 1996 見本工房"), 67, 80),
        AddLabel(panel, "Comments", QStringLiteral("ご意見・ご要望は下記へ"), 81, 112),
        AddLabel(panel, "Contact", QStringLiteral("mivrel-support@example.jp"), 52, 128),
    };
    // Screen readers read, when a dialog opens, only its labels of three
    // words or more, and a Japanese line is one word: the box describes
    // itself with all its lines.
    QStringList text;
    for (const QLabel *line : lines)
        text << line->text();
    setAccessibleDescription(text.join(QStringLiteral("。")));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(111, 178, 77, 27);
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ReportControlsShown(*this);
}

} // namespace mivrel
