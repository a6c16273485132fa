#include "Mainunit/Mainunit.h"

#include "Aboutbox/Aboutbox.h"
#include "Kojochk/Kojochk.h"
#include "Mainunit/DialogTitleBar.h"
#include "Mainunit/EditorInput.h"
#include "Mainunit/HeldKeys.h"
#include "Mainunit/SlipAccessible.h"
#include "Mainunit/WindowFit.h"
#include "Mainunit/WindowSizing.h"
#include "Pictures/Pictures.h"
#include "Trial/Trial.h"
#include "Verify/Verify.h"
#include "slip/CanvasPixels.h"

#include <QDialog>
#include <QFocusEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QToolButton>
#include <QWindow>

#include <cmath>

namespace mivrel {
namespace {

constexpr int ButtonWidth = 65;
constexpr int ButtonStep = 64;  // neighbouring buttons overlap by one pixel
constexpr int PanelWidth = 321;
constexpr int EditorMaxLength = 255;

// The UI face by its installed family: a QFont of it finds the face at once,
// where one of the face name has fontconfig look for fallback faces first.
QFont SystemFont(int pixelSize)
{
    QFont font(InstalledFamily(SystemFace));
    font.setPixelSize(pixelSize);
    return font;
}

bool IsTabKey(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
}

// Focus that moves because a window was (de)activated or a popup opened is no
// entering or leaving of a control: the control keeps the window's focus.
bool IsWindowFocusChange(const QFocusEvent *focus)
{
    return focus->reason() == Qt::ActiveWindowFocusReason || focus->reason() == Qt::PopupFocusReason;
}

// The end buttons record where the keyboard comes back into the slip only
// when the keyboard leaves them. Focus that a click on the slip takes away
// must not send the frame to the first or last cell behind the user's back.
bool IsKeyboardFocusChange(const QFocusEvent *focus)
{
    return focus->reason() == Qt::TabFocusReason || focus->reason() == Qt::BacktabFocusReason;
}

} // namespace

TfrmMain::TfrmMain()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Mivrel"));
    setWindowIcon(ProgramIcon());
    setFont(SystemFont(13));
    ShareLoadedFace(font());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(476, FittedClientHeight(476));
    ReportHeldKeysAsRepeatedPresses();
    InstallSlipAccessibility(*this);
    FormCreate();
}


void TfrmMain::FormCreate()
{
    Context.Layout = &Layout;
    Context.Slip = &Kyuho;
    Context.Fonts = &Fonts;
    Context.Current = &CurrentCell;

    ClearSlip(Kyuho);
    FillSampleSlip(Kyuho);

    CreateButtonPanel();
    CreateEditor();
    setTabOrder(BitBtnAbout, MemoGen);
    setTabOrder(MemoGen, BitBtnClear);
    PanelBtn->raise();
}

void TfrmMain::CreateDialogs()
{
    if (dlgTrial)
        return;
    dlgTrial = new TdlgTrial;
    dlgKojoCheck = new TdlgKojoCheck;
    dlgVerifyTax = new TdlgVerifyTax;
    dlgAboutBox = new TdlgAboutBox;
    // Fixed dialogs of this window: a title and a close button, nothing to
    // minimise or maximise, whichever side draws the frame.
    const Qt::WindowFlags flags =
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    // Where Qt would draw the frame itself, it would draw those buttons
    // anyway: the dialogs go frameless with a title bar of their own.
    const bool ownTitleBars = QtDrawsFrames(*this);
    for (QDialog *dialog : std::initializer_list<QDialog *>{dlgTrial, dlgKojoCheck, dlgVerifyTax, dlgAboutBox}) {
        // (Qt drops the frameless hint beside the hints for a title bar.)
        dialog->setParent(this, ownTitleBars ? Qt::Dialog | Qt::FramelessWindowHint : flags);
        if (ownTitleBars)
            GiveOwnTitleBar(*dialog);
    }
}

// ---------------------------------------------------------------- controls

void TfrmMain::CreateButtonPanel()
{
    PanelBtn = new QFrame(this);
    PanelBtn->setObjectName(QStringLiteral("PanelBtn"));
    PanelBtn->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelBtn->setGeometry(0, PanelShownTop, PanelWidth, PanelHeight);
    PanelBtn->setAutoFillBackground(true);
    PanelBtn->setMouseTracking(true);
    // A press on the panel between or beneath disabled buttons is not a
    // press on the slip behind it.
    PanelBtn->setAttribute(Qt::WA_NoMousePropagation);
    PanelBtn->installEventFilter(this);

    BitBtnClear = CreateButton("BitBtnClear", QStringLiteral("項目消去"),
                               QStringLiteral("入力した項目をすべて消去します"), 0);
    BitBtnVerify = CreateButton("BitBtnVerify", QStringLiteral("税額検算"),
                                QStringLiteral("税額の計算が正しいか検算します"), 1);
    BitBtnCheck = CreateButton("BitBtnCheck", QStringLiteral("控除検査"),
                               QStringLiteral("控除内容が正しいか検査します"), 2);
    BitBtnTrial = CreateButton("BitBtnTrial", QStringLiteral("税額試算"),
                               QStringLiteral("給与、控除の金額に応じて税額を試算します"), 3);
    BitBtnAbout = CreateButton("BitBtnAbout", QStringLiteral("著作権"),
                               QStringLiteral("著作権、バージョン情報を表示します"), 4);
    connect(BitBtnClear, &QToolButton::clicked, this, &TfrmMain::BitBtnClearClick);
    connect(BitBtnVerify, &QToolButton::clicked, this, &TfrmMain::BitBtnVerifyClick);
    connect(BitBtnCheck, &QToolButton::clicked, this, &TfrmMain::BitBtnCheckClick);
    connect(BitBtnTrial, &QToolButton::clicked, this, &TfrmMain::BitBtnTrialClick);
    connect(BitBtnAbout, &QToolButton::clicked, this, &TfrmMain::BitBtnAboutClick);
    setTabOrder(BitBtnClear, BitBtnVerify);
    setTabOrder(BitBtnVerify, BitBtnCheck);
    setTabOrder(BitBtnCheck, BitBtnTrial);
    setTabOrder(BitBtnTrial, BitBtnAbout);
    SetPanelButtonsEnabled(false);
}

QToolButton *TfrmMain::CreateButton(const char *name, const QString &caption, const QString &hint,
                                    int index)
{
    auto *button = new QToolButton(PanelBtn);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(ButtonPicture(static_cast<ButtonPictureKind>(index)));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setGeometry(index * ButtonStep, 0, ButtonWidth, PanelHeight);
    button->installEventFilter(this);
    return button;
}

void TfrmMain::CreateEditor()
{
    MemoGen = new QPlainTextEdit(this);
    MemoGen->setObjectName(QStringLiteral("MemoGen"));
    MemoGen->setFrameShape(QFrame::NoFrame);
    MemoGen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MemoGen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MemoGen->document()->setDocumentMargin(1);
    MemoGen->setFont(SystemFont(11));
    QPalette palette = MemoGen->palette();
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    MemoGen->setPalette(palette);
    MemoGen->installEventFilter(this);
    MemoGenInput = new EditorInput(*MemoGen);
    connect(MemoGen, &QPlainTextEdit::textChanged, this, &TfrmMain::LimitEditorText);
    MemoGen->hide();
}

// The editor takes at most 255 characters, however they arrive (typing,
// pasting, an input method): the excess just inserted before the caret goes.
// What goes is whole characters as the user sees them, so the text kept never
// holds half of a surrogate pair or of a combined character.
void TfrmMain::LimitEditorText()
{
    const int excess = MemoGen->document()->characterCount() - 1 - EditorMaxLength;
    if (excess <= 0)
        return;
    const QString text = MemoGen->toPlainText();
    // Normally the excess ends at the caret; text set with the caret at its
    // start loses its excess from there.
    const int end = std::max(MemoGen->textCursor().position(), excess);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    graphemes.setPosition(end - excess);
    const qsizetype from = graphemes.isAtBoundary() ? graphemes.position() : graphemes.toPreviousBoundary();
    graphemes.setPosition(end);
    const qsizetype to = graphemes.isAtBoundary() ? graphemes.position() : graphemes.toNextBoundary();
    QTextCursor cursor = MemoGen->textCursor();
    cursor.setPosition(int(from));
    cursor.setPosition(int(to), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void TfrmMain::SetPanelButtonsEnabled(bool enabled)
{
    for (QToolButton *button : {BitBtnClear, BitBtnVerify, BitBtnCheck, BitBtnTrial, BitBtnAbout}) {
        button->setEnabled(enabled);
        // A disabled button must let pointer moves through to the panel.
        button->setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
    }
}

// ------------------------------------------------------------ drawing helpers

void TfrmMain::PrepareCanvasPainter(QPainter &painter) const
{
    UseSlipColours(painter, palette());
    painter.setRenderHint(QPainter::Antialiasing, false);
}

QRect TfrmMain::CellArea(std::uint8_t cell) const
{
    const CellRect &r = Layout.Cells[cell];
    return QRect(QPoint(Context.Origin.X + r.Left, Context.Origin.Y + r.Top),
                 QPoint(Context.Origin.X + r.Right, Context.Origin.Y + r.Bottom));
}

// Shows canvas drawing at once; inside a paint, or while the window is not
// on screen yet, the area joins the next paint.
void TfrmMain::ShowNow(const QRect &area)
{
    if (InPaint || !windowHandle() || !windowHandle()->isExposed())
        update(area);
    else
        repaint(area);
}

int TfrmMain::fittedHeight(int clientWidth) const
{
    return FittedClientHeight(clientWidth);
}

// ------------------------------------------------------------------ events

void TfrmMain::resizeEvent(QResizeEvent *)
{
    FormResize();
}

// Lays out the largest slip that fits the client area, centred both ways,
// whatever size the window system gave. A free window then asks once for the
// height that fits a width the user chose (WindowFit.h says when).
void TfrmMain::FormResize()
{
    const SlipPlacement place = PlaceSlip(size());
    const bool slipKept = Layout.ScaleNum == place.Width - 1 && Layout.ScaleDen == SlipDesignWidth;
    const QPoint moved(place.X - Context.Origin.X, place.Y - Context.Origin.Y);
    if (!slipKept) {
        Layout.ScaleNum = place.Width - 1;
        Layout.ScaleDen = SlipDesignWidth;
        LayOutSlip(Layout);
        SetFontSizes(Fonts, Layout.XCoord[56]);
    }
    Context.Origin.X = place.X;
    Context.Origin.Y = place.Y;

    if (const std::optional<QSize> wanted = Requests.Given(size(), FreeToChooseSize(*this), ScreenRoom(*this)))
        AskClientSize(*this, *wanted);
    if (slipKept && MoveCanvasPicture(moved)) {
        SlipMovePending = true;
    } else {
        PrepareCanvas();
        FullRedrawPending = true;
    }
    update();
}

// A resize that keeps the slip's size only moves it (a window that is
// refitted to its width after its edge was dragged, a tile that grows in the
// direction the slip does not fill). The canvas then keeps its picture,
// moved to the slip's new place: the same pixels a new drawing would give,
// as the slip is drawn at whole device pixels. False, with nothing done,
// where it cannot: nothing drawn yet or a drawing due, a density that is not
// a whole number, new colours, or a store too small for the new size.
bool TfrmMain::MoveCanvasPicture(QPoint by)
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    const std::optional<quint32> paper = OpaquePixel(CanvasColours.Paper);
    if (FullRedrawPending || Canvas.isNull() || Canvas.devicePixelRatio() != ratio || ratio != std::floor(ratio)
        || SlipColoursOf(palette()) != CanvasColours || !paper || CanvasStore.width() < pixels.width()
        || CanvasStore.height() < pixels.height())
        return false;
    MovePicture(CanvasStore, Canvas.size(), pixels, by * int(ratio), *paper);
    Canvas = QImage(CanvasStore.bits(), pixels.width(), pixels.height(), CanvasStore.bytesPerLine(),
                    QImage::Format_RGB32);
    Canvas.setDevicePixelRatio(ratio);
    return true;
}

// The canvas covers the client area in device pixels: on a dense screen the
// slip is drawn at full resolution while its geometry stays in window pixels.
// Its pixels live in a store that only grows: the first is as large as the
// window, a store outgrown gives way to one a quarter larger than asked for,
// so that dragging the window's edge allocates (and faults in) no memory at
// most sizes. A canvas of a new size is drawn whole before it is shown, so
// what the store held before is never seen.
void TfrmMain::PrepareCanvas()
{
    const qreal ratio = devicePixelRatioF();
    const SlipColours colours = SlipColoursOf(palette());  // the palette may have changed
    if (Canvas.deviceIndependentSize() == QSizeF(size()) && Canvas.devicePixelRatio() == ratio
        && colours == CanvasColours)
        return;
    const QSize pixels = size() * ratio;
    if (CanvasStore.width() < pixels.width() || CanvasStore.height() < pixels.height()) {
        const QSize room = CanvasStore.isNull()
                               ? pixels
                               : QSize(pixels.width() + pixels.width() / 4, pixels.height() + pixels.height() / 4);
        Canvas = QImage();
        CanvasStore = QImage(room.expandedTo(CanvasStore.size()), QImage::Format_RGB32);
    }
    Canvas = QImage(CanvasStore.bits(), pixels.width(), pixels.height(), CanvasStore.bytesPerLine(),
                    QImage::Format_RGB32);
    Canvas.setDevicePixelRatio(ratio);
    CanvasColours = colours;
    FullRedrawPending = true;
}

void TfrmMain::paintEvent(QPaintEvent *event)
{
    const bool firstFrame = FirstPaintPending;
    InPaint = true;
    PrepareCanvas();  // the window may have moved to a screen of another density
    FormPaint();
    InPaint = false;
    const QRect area = event->rect();
    const qreal ratio = Canvas.devicePixelRatio();
    QPainter screen(this);
    screen.drawImage(QRectF(area), Canvas,
                     QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
    if (firstFrame) {
        PaintUncoveredAreas(*this, CanvasColours.Paper);
        emit firstFramePainted();
    }
}

// Brings the canvas up to date: the whole slip after a resize or Clear, one
// cell after the editor left it. A paint that no flag explains only copies
// the canvas, which still holds the slip.
void TfrmMain::FormPaint()
{
    if (FirstPaintPending) {
        FirstPaintPending = false;
        SelectCell(FirstInputCell);
    }
    if (FullRedrawPending) {
        FullRedrawPending = false;
        SlipMovePending = false;
        {
            QPainter painter(&Canvas);
            PrepareCanvasPainter(painter);
            painter.fillRect(Canvas.rect(), painter.background());
            DrawSlipOnPaper(painter, Context);
            if (HighlightedCell != NoCell)
                DrawCellFocus(painter, Context, HighlightedCell);
        }
        ++FullRedraws;
        SelectCell(CurrentCell);
        CellRedrawPending = false;
    } else if (SlipMovePending) {
        // The canvas holds the slip moved to its new place: only a cell the
        // editor left since it was drawn is out of date.
        SlipMovePending = false;
        if (CellRedrawPending)
            RedrawCell(CellToRedraw);
        SelectCell(CurrentCell);
        CellRedrawPending = false;
    } else if (CellRedrawPending) {
        CellRedrawPending = false;
        RedrawCell(CellToRedraw);
    }
}

void TfrmMain::RedrawCell(std::uint8_t cell)
{
    QPainter painter(&Canvas);
    PrepareCanvasPainter(painter);
    DrawCell(painter, Context, cell);
    ++CellRedraws;
}

void TfrmMain::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        LeftPressed = true;
    const QPoint at = event->position().toPoint();
    FormMouseDown(at.x(), at.y());
}

void TfrmMain::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !LeftPressed)
        return;
    LeftPressed = false;
    if (rect().contains(event->position().toPoint()))
        FormClick();
}

void TfrmMain::mouseMoveEvent(QMouseEvent *)
{
    FormMouseMove();
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PanelBtn) {
        if (event->type() == QEvent::MouseMove)
            PanelBtnMouseMove();
        return false;
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        return FilterFocusEvent(watched, event);
    if (watched == MemoGen)
        return FilterEditorEvent(event);
    return ActivateButtonByEnter(watched, event);
}

// A command button runs its command on Enter as well as on Space.
bool TfrmMain::ActivateButtonByEnter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    auto *button = qobject_cast<QToolButton *>(watched);
    if (!button || key->isAutoRepeat() || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter))
        return false;
    button->click();
    return true;
}

bool TfrmMain::FilterFocusEvent(QObject *watched, QEvent *event)
{
    const auto *focus = static_cast<QFocusEvent *>(event);
    if (event->type() == QEvent::FocusOut) {
        if (IsWindowFocusChange(focus)) {
            FocusAtDeactivation = watched;
            return false;
        }
        if (!IsKeyboardFocusChange(focus))
            return false;
        if (watched == BitBtnClear)
            BitBtnClearExit();
        else if (watched == BitBtnAbout)
            BitBtnAboutExit();
        return false;
    }
    const bool sameAsBefore = IsWindowFocusChange(focus) && FocusAtDeactivation == watched;
    FocusAtDeactivation = nullptr;
    if (watched == MemoGen && !sameAsBefore)
        MemoGenEnter();
    return false;
}

// Tab and Shift+Tab never reach the text: they move the frame on every press
// (auto-repeat included) and the editor on the final release.
bool TfrmMain::FilterEditorEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (IsTabKey(key)) {
            MemoGenKeyDown(key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier));
            return true;
        }
        return MemoGenKeyPress(key->key() == Qt::Key_Delete ? QString() : key->text());
    }
    case QEvent::KeyRelease: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!IsTabKey(key))
            return false;
        if (!key->isAutoRepeat())
            MemoGenKeyUp();
        return true;
    }
    default:
        return false;
    }
}

// ----------------------------------------------------------------- editing

// A composition still open is committed first, into the cell it was typed
// in: left to the input method, it would be committed into the next one.
void TfrmMain::SelectCell(std::uint8_t cell)
{
    MemoGenInput->CommitComposition();
    if (CurrentCell != NoCell) {
        CellRedrawPending = true;
        CellToRedraw = CurrentCell;
        SetCellText(Kyuho, CurrentCell, MemoGen->toPlainText());
        update(CellArea(CurrentCell));
    }
    if (cell == NoCell) {
        MemoGen->resize(1, 1);
        MemoGen->show();
    } else {
        const EditorMove move(*MemoGen, cell, cell != CurrentCell);
        MemoGen->setGeometry(EditorArea(cell));
        // Mark cells take no typed text: keys toggle the mark.
        MemoGenInput->TakeComposedText(LookupCell(cell).Kind != CellKind::Mark);
        // Selected again (the slip was redrawn), the box keeps its editor's
        // document, and with it the undo history, while the text is the same.
        const QString text = GetCellText(Kyuho, cell);
        if (cell != CurrentCell || MemoGen->toPlainText() != text)
            MemoGen->setPlainText(text);
        MemoGen->moveCursor(QTextCursor::End);
        MemoGen->show();
        MemoGen->setFocus(Qt::OtherFocusReason);
    }
    CurrentCell = cell;
    CurrentSlot = LookupCell(cell);
    // The buttons are usable only while no cell is being edited.
    if (cell != NoCell)
        HideButtonPanel();
    AnnounceSlipValues(*this);
    AnnounceEditorCell(*this, *MemoGen);
}

// The editor covers the inside of its box, within the frame lines.
QRect TfrmMain::EditorArea(std::uint8_t cell) const
{
    const CellRect &r = Layout.Cells[cell];
    return QRect(Context.Origin.X + r.Left + 2, Context.Origin.Y + r.Top + 2, std::max(0, r.Right - r.Left - 3),
                 std::max(0, r.Bottom - r.Top - 3));
}

// Every command runs on a record that holds the editor's last text.
void TfrmMain::CommitEditedCell()
{
    if (CurrentCell != NoCell)
        SelectCell(NoCell);
}

void TfrmMain::HighlightCell(std::uint8_t cell)
{
    QPainter painter(&Canvas);
    PrepareCanvasPainter(painter);
    QRect changed;
    if (HighlightedCell != NoCell && HighlightedCell != CurrentCell) {
        DrawCell(painter, Context, HighlightedCell);
        changed = CellArea(HighlightedCell);
    }
    if (cell != NoCell) {
        DrawCellFocus(painter, Context, cell);
        changed |= CellArea(cell);
    }
    painter.end();
    HighlightedCell = cell;
    if (!changed.isNull())
        ShowNow(changed);
    AnnounceFramedCell(*this, *MemoGen);
}

void TfrmMain::FormMouseDown(int x, int y)
{
    const std::uint8_t cell = HitTestCell(Context, x, y);
    if (cell == NoCell)
        return;
    PanelPinned = false;
    ReenterAtLast = false;
    ReenterAtFirst = false;
    if (!IsInputCell(cell))
        return;
    HighlightedCell = cell;
    QPainter painter(&Canvas);
    PrepareCanvasPainter(painter);
    DrawCellFocus(painter, Context, cell);
    painter.end();
    ShowNow(CellArea(cell));
}

void TfrmMain::FormClick()
{
    SelectCell(HighlightedCell);
}

void TfrmMain::MemoGenKeyDown(bool shift)
{
    if (shift) {
        if (HighlightedCell == FirstInputCell) {
            SelectCell(NoCell);
            HighlightCell(NoCell);
            ReenterAtLast = false;
            ReenterAtFirst = true;
            ShowButtonPanel(true);
            return;
        }
        for (int c = int(HighlightedCell) - 1; c >= 0; --c)
            if (IsInputCell(static_cast<std::uint8_t>(c))) {
                HighlightCell(static_cast<std::uint8_t>(c));
                return;
            }
        return;
    }
    if (HighlightedCell == LastInputCell) {
        SelectCell(NoCell);
        HighlightCell(NoCell);
        ReenterAtLast = true;
        ReenterAtFirst = false;
        ShowButtonPanel(true);
        return;
    }
    // Without a frame anywhere, Tab starts from the first input cell.
    const int from = HighlightedCell == NoCell ? 0 : int(HighlightedCell) + 1;
    for (int c = from; c <= LastInputCell; ++c)
        if (IsInputCell(static_cast<std::uint8_t>(c))) {
            HighlightCell(static_cast<std::uint8_t>(c));
            return;
        }
}

// A character typed into a mark cell toggles the mark instead of being
// typed; returns whether the character was used up here.
bool TfrmMain::MemoGenKeyPress(const QString &text)
{
    if (CurrentSlot.Kind != CellKind::Mark || text.isEmpty())
        return false;
    const QString mark = QStringLiteral("○");
    const MarkToggle toggle(*MemoGen);
    MemoGen->setPlainText(MemoGen->toPlainText() == mark ? QString() : mark);
    return true;
}

void TfrmMain::MemoGenKeyUp()
{
    SelectCell(HighlightedCell);
}

void TfrmMain::MemoGenEnter()
{
    if (ReenterAtLast && !ReenterAtFirst) {
        ReenterAtLast = false;
        HideButtonPanel();
        HighlightCell(LastInputCell);
    } else if (ReenterAtFirst && !ReenterAtLast) {
        ReenterAtFirst = false;
        HideButtonPanel();
        HighlightCell(FirstInputCell);
    }
}

void TfrmMain::BitBtnClearExit()
{
    ReenterAtLast = true;
    ReenterAtFirst = false;
}

void TfrmMain::BitBtnAboutExit()
{
    ReenterAtLast = false;
    ReenterAtFirst = true;
}

// ------------------------------------------------------------ button panel

void TfrmMain::SetPanelTop(int top)
{
    const QRect before = PanelBtn->geometry();
    PanelBtn->move(0, top);
    ShowNow(before | PanelBtn->geometry());
}

void TfrmMain::ShowButtonPanel(bool pinAndFocus)
{
    PanelPinned = pinAndFocus;
    if (PanelBtn->y() == PanelRetractedTop) {
        for (int top = PanelRetractedTop; top <= PanelShownTop; top += 2)
            SetPanelTop(top);
        SetPanelButtonsEnabled(true);
    }
    if (!pinAndFocus)
        return;
    if (ReenterAtLast && !ReenterAtFirst)
        BitBtnClear->setFocus(Qt::TabFocusReason);
    else if (!ReenterAtLast && ReenterAtFirst)
        BitBtnAbout->setFocus(Qt::BacktabFocusReason);
}

void TfrmMain::HideButtonPanel()
{
    if (PanelBtn->y() != PanelShownTop)
        return;
    for (int top = PanelShownTop - 1; top >= PanelRetractedTop; --top)
        SetPanelTop(top);
    // Disabling a focused button would hand the focus along the buttons one
    // by one; give it straight to the editor instead.
    if (PanelBtn->isAncestorOf(focusWidget()))
        MemoGen->setFocus(Qt::OtherFocusReason);
    SetPanelButtonsEnabled(false);
}

void TfrmMain::PanelBtnMouseMove()
{
    PanelPinned = false;
    SelectCell(NoCell);
    ShowButtonPanel(false);
}

void TfrmMain::FormMouseMove()
{
    if (!PanelPinned)
        HideButtonPanel();
}

// ---------------------------------------------------------------- commands

// Clears the slip after a short zoom of the empty grid, from a fifth of its
// size to full size, each frame shown as it is drawn.
void TfrmMain::BitBtnClearClick()
{
    CommitEditedCell();
    MemoGen->hide();
    const std::int32_t savedNum = Layout.ScaleNum;
    const std::int32_t savedDen = Layout.ScaleDen;
    Layout.ScaleDen = 100;
    for (int i = 10; i <= 50; ++i) {
        Layout.ScaleNum = static_cast<std::int32_t>(std::int64_t{savedNum} * 2 * i / SlipDesignWidth);
        LayOutSlip(Layout);
        {
            QPainter painter(&Canvas);
            PrepareCanvasPainter(painter);
            DrawCellFrames(painter, Context);
        }
        ShowNow(QRect(Context.Origin.X, Context.Origin.Y, Layout.XCoord[56] + 1, Layout.YCoord[18] + 1));
    }
    Layout.ScaleNum = savedNum;
    Layout.ScaleDen = savedDen;
    LayOutSlip(Layout);
    ClearSlip(Kyuho);
    {
        QPainter painter(&Canvas);
        PrepareCanvasPainter(painter);
        painter.fillRect(Canvas.rect(), painter.background());
        DrawSlipOnPaper(painter, Context);
    }
    ShowNow(rect());
    MemoGen->clear();
    MemoGen->show();
    AnnounceSlipCleared(*this);
}

// Shows a dialog modally, centred on the screen where the program places its
// windows; a Wayland compositor places the dialog itself, as a child of this
// window.
void TfrmMain::ShowModal(QDialog &dialog)
{
    const QScreen *screen = this->screen();
    if (screen && !QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        const QSize frame = FrameSizeOf(dialog);
        dialog.move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
    dialog.exec();
    ReturnFocusAfterDialog(*this);
}

// The size of a dialog with its window manager frame. Until the dialog has
// been shown once the frame is not known; this window's frame, from the same
// window manager, stands in for it: the same title bar and sides, and a bottom
// border as wide as the sides, since a dialog of fixed size has no handle for
// resizing.
QSize TfrmMain::FrameSizeOf(const QDialog &dialog) const
{
    const QSize known = dialog.frameGeometry().size();
    if (known != dialog.size())
        return known;
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const int side = client.left() - frame.left();
    const int title = client.top() - frame.top();
    return known + QSize(frame.width() - client.width(), title + side);
}

void TfrmMain::BitBtnVerifyClick()
{
    CommitEditedCell();
    CreateDialogs();
    FillVerifyTax(*dlgVerifyTax, Kyuho);
    ShowModal(*dlgVerifyTax);
}

void TfrmMain::BitBtnCheckClick()
{
    CommitEditedCell();
    CreateDialogs();
    RunKojoCheck(*dlgKojoCheck, Kyuho);
    ShowModal(*dlgKojoCheck);
}

void TfrmMain::BitBtnTrialClick()
{
    CommitEditedCell();
    CreateDialogs();
    dlgTrial->InitFromSlip(Kyuho);
    ShowModal(*dlgTrial);
}

void TfrmMain::BitBtnAboutClick()
{
    CommitEditedCell();
    CreateDialogs();
    ShowModal(*dlgAboutBox);
}

} // namespace mivrel
