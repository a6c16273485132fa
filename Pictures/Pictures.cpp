#include "Pictures/Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

namespace mivrel {
namespace {

const QColor Ink(0x22, 0x33, 0x55);
const QColor Paper(0xfb, 0xf7, 0xe8);
const QColor Accent(0xc8, 0x32, 0x32);
const QColor Calm(0x3a, 0x7c, 0xc4);
const QColor Soft(0xd8, 0xdc, 0xe4);

// A painter on `image` whose coordinates run 0..units on both axes.
void BeginPicture(QPainter &p, QImage &image, double units)
{
    image.fill(Qt::transparent);
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(image.width() / units, image.height() / units);
}

QPen InkPen(double width)
{
    QPen pen(Ink, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// A sheet of paper with ruled lines, the motif shared by the pictures.
void DrawSheet(QPainter &p, const QRectF &sheet, int lines)
{
    p.setPen(InkPen(1.0));
    p.setBrush(Paper);
    p.drawRect(sheet);
    p.setPen(QPen(Soft.darker(120), 1.0));
    const double step = sheet.height() / (lines + 1);
    for (int i = 1; i <= lines; ++i) {
        const double y = sheet.top() + i * step;
        p.drawLine(QPointF(sheet.left() + 2, y), QPointF(sheet.right() - 2, y));
    }
}

void DrawClear(QPainter &p)
{
    DrawSheet(p, QRectF(2.5, 2.5, 14, 19), 5);
    p.save();
    p.translate(15, 14);
    p.rotate(-35);
    p.setPen(InkPen(1.0));
    p.setBrush(Calm);
    p.drawRoundedRect(QRectF(-4, -7, 8, 8), 1, 1);
    p.setBrush(QColor(0xf2, 0xa0, 0xa8));
    p.drawRoundedRect(QRectF(-4, 1, 8, 6), 1, 1);
    p.restore();
}

void DrawVerify(QPainter &p)
{
    p.setPen(InkPen(1.0));
    p.setBrush(Soft);
    p.drawRoundedRect(QRectF(4.5, 1.5, 15, 21), 2, 2);
    p.setBrush(QColor(0xcf, 0xe8, 0xc8));
    p.drawRect(QRectF(6.5, 3.5, 11, 5));
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            p.setBrush(row == 2 && col == 2 ? Accent : Ink);
            p.drawRect(QRectF(7 + col * 3.6, 11 + row * 3.6, 2.4, 2.4));
        }
}

void DrawCheck(QPainter &p)
{
    DrawSheet(p, QRectF(2.5, 2.5, 14, 19), 5);
    p.setPen(InkPen(2.0));
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(13, 11), 5.5, 5.5);
    p.setPen(InkPen(3.0));
    p.drawLine(QPointF(17, 15.5), QPointF(21.5, 20.5));
}

void DrawTrial(QPainter &p)
{
    p.setPen(InkPen(1.0));
    p.drawLine(QPointF(2.5, 21.5), QPointF(21.5, 21.5));
    p.drawLine(QPointF(2.5, 2.5), QPointF(2.5, 21.5));
    const double heights[] = {6, 10, 14};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(i == 2 ? Accent : Calm);
        p.drawRect(QRectF(5.5 + i * 5.5, 21.5 - heights[i], 4, heights[i]));
    }
    p.setPen(InkPen(1.5));
    p.drawLine(QPointF(5, 11), QPointF(19, 3));
    p.drawLine(QPointF(19, 3), QPointF(15, 3.2));
    p.drawLine(QPointF(19, 3), QPointF(17.6, 6.8));
}

void DrawAbout(QPainter &p)
{
    p.setPen(InkPen(1.5));
    p.setBrush(Paper);
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.setPen(InkPen(2.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(7.5, 7.5, 9, 9), 45 * 16, 270 * 16);
}

void DrawProgramIcon(QPainter &p)
{
    // A slip with its grid, a red seal and a check mark: on a 32-unit square.
    p.setPen(InkPen(1.2));
    p.setBrush(Paper);
    p.drawRect(QRectF(3.5, 1.5, 22, 29));
    p.setPen(QPen(Ink, 0.8));
    for (double y : {8.0, 13.0, 18.0, 23.0})
        p.drawLine(QPointF(3.5, y), QPointF(25.5, y));
    p.drawLine(QPointF(11.5, 8), QPointF(11.5, 23));
    p.drawLine(QPointF(18.5, 8), QPointF(18.5, 13));
    p.setPen(QPen(Ink, 1.6));
    p.drawLine(QPointF(7, 5), QPointF(22, 5));
    p.setPen(QPen(Accent, 1.4));
    p.setBrush(QColor(Accent.red(), Accent.green(), Accent.blue(), 40));
    p.drawEllipse(QPointF(22, 25), 5, 5);
    QPainterPath tick;
    tick.moveTo(17, 16);
    tick.lineTo(22, 21);
    tick.lineTo(30, 9);
    p.setPen(QPen(Calm, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

void DrawOkGlyph(QPainter &p)
{
    QPainterPath tick;
    tick.moveTo(3, 8.5);
    tick.lineTo(6.5, 12);
    tick.lineTo(13, 4);
    p.setPen(QPen(QColor(0x2e, 0x8b, 0x3a), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
}

QImage DrawButtonImage(ButtonPictureKind kind, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    QPainter p;
    BeginPicture(p, image, 24);
    switch (kind) {
    case ButtonPictureKind::Clear: DrawClear(p); break;
    case ButtonPictureKind::Verify: DrawVerify(p); break;
    case ButtonPictureKind::Check: DrawCheck(p); break;
    case ButtonPictureKind::Trial: DrawTrial(p); break;
    case ButtonPictureKind::About: DrawAbout(p); break;
    }
    p.end();
    return image;
}

} // namespace

QImage ProgramIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    QPainter p;
    BeginPicture(p, image, 32);
    DrawProgramIcon(p);
    p.end();
    return image;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    return icon;
}

QIcon ButtonPicture(ButtonPictureKind kind)
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(DrawButtonImage(kind, 24)));
    if (qGuiApp->devicePixelRatio() > 1.0)  // the densest screen attached
        icon.addPixmap(QPixmap::fromImage(DrawButtonImage(kind, 48)));
    return icon;
}

QIcon OkGlyph()
{
    QIcon icon;
    for (int size : {16, 32}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        QPainter p;
        BeginPicture(p, image, 16);
        DrawOkGlyph(p);
        p.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace mivrel
