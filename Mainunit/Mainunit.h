#pragma once
// The main window: the slip replica drawn at the window's width, the one
// in-place editor that moves from cell to cell, and the retracting panel of
// command buttons.

#include "Mainunit/WindowFit.h"
#include "Verify/Kyuho.h"
#include "slip/SlipDraw.h"
#include "slip/SlipInk.h"
#include "slip/SlipLayout.h"

#include <QImage>
#include <QWidget>

class QDialog;
class QFrame;
class QPlainTextEdit;
class QToolButton;

namespace mivrel {

class EditorInput;
class TdlgTrial;
class TdlgKojoCheck;
class TdlgVerifyTax;
class TdlgAboutBox;

// Owns the slip record for the whole run; only this window writes it (the
// start-up sample, Clear, and the editor). The slip is painted into a canvas
// image that paintEvent copies to the screen; drawing that must show at once
// (the focus frame, the panel's slide, the Clear zoom) repaints synchronously.
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    static constexpr int PanelHeight = 57;
    static constexpr int PanelShownTop = 0;
    static constexpr int PanelRetractedTop = -40;

    TfrmMain();

    // Builds the four dialogs the command buttons open, in their designed
    // order (trial, inspection, verification, about), and becomes their
    // parent; does nothing once they exist. Start-up calls it right after the
    // first frame; a command that comes first calls it itself.
    void CreateDialogs();

    // Commits the cell being edited and moves the editor to `cell`, or parks
    // it (1 x 1, still a focus stop) for NoCell.
    void SelectCell(std::uint8_t cell);
    // Moves the dotted focus frame to `cell` (NoCell: no frame).
    void HighlightCell(std::uint8_t cell);
    // Slides the panel in and enables its buttons; with pinAndFocus the panel
    // stays when the pointer moves over the slip and an end button is focused.
    void ShowButtonPanel(bool pinAndFocus);
    // Slides the panel back to its strip and disables its buttons.
    void HideButtonPanel();

    const TKyuho &slip() const { return Kyuho; }
    std::uint8_t currentCell() const { return CurrentCell; }
    std::uint8_t highlightedCell() const { return HighlightedCell; }
    bool panelPinned() const { return PanelPinned; }
    const SlipLayout &layout() const { return Layout; }
    const SlipPaintContext &paintContext() const { return Context; }
    // The slip as drawn; its pixels are reused for the next size, so a copy
    // must be deep (QImage::copy) to outlive a resize.
    const QImage &canvas() const { return Canvas; }
    // Client height that fits the slip at `clientWidth`.
    int fittedHeight(int clientWidth) const;
    // How often a paint drew the whole slip, and how often a single cell.
    int fullRedrawCount() const { return FullRedraws; }
    int cellRedrawCount() const { return CellRedraws; }

signals:
    // The first paint of the window, with the whole slip, has been done.
    void firstFramePainted();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void CreateButtonPanel();
    void CreateEditor();
    QToolButton *CreateButton(const char *name, const QString &caption, const QString &hint,
                              int index);
    void FormResize();
    void PrepareCanvas();
    bool MoveCanvasPicture(QPoint by);
    void FormPaint();
    void RedrawCell(std::uint8_t cell);
    void FormMouseDown(int x, int y);
    void FormClick();
    void FormMouseMove();
    void PanelBtnMouseMove();
    void MemoGenKeyDown(bool shift);
    bool MemoGenKeyPress(const QString &text);
    void MemoGenKeyUp();
    void MemoGenEnter();
    void BitBtnClearExit();
    void BitBtnAboutExit();
    void BitBtnClearClick();
    void BitBtnVerifyClick();
    void BitBtnCheckClick();
    void BitBtnTrialClick();
    void BitBtnAboutClick();

    bool FilterEditorEvent(QEvent *event);
    bool FilterFocusEvent(QObject *watched, QEvent *event);
    bool ActivateButtonByEnter(QObject *watched, QEvent *event);
    void LimitEditorText();
    void SetPanelTop(int top);
    void SetPanelButtonsEnabled(bool enabled);
    void CommitEditedCell();
    void ShowModal(QDialog &dialog);
    QSize FrameSizeOf(const QDialog &dialog) const;
    void PrepareCanvasPainter(QPainter &painter) const;
    QRect CellArea(std::uint8_t cell) const;
    QRect EditorArea(std::uint8_t cell) const;
    void ShowNow(const QRect &area);

    TKyuho Kyuho;
    SlipLayout Layout;
    TFontInfoSet Fonts;
    SlipPaintContext Context;
    QImage Canvas;       // the client area's pixels, in CanvasStore
    QImage CanvasStore;  // never shared: Canvas points into it
    SlipColours CanvasColours;  // the ink and paper the canvas was prepared in
    SizeRequests Requests;

    // Editing state.
    std::uint8_t CurrentCell = NoCell;
    CellSlot CurrentSlot;
    std::uint8_t HighlightedCell = NoCell;
    bool ReenterAtFirst = true;
    bool ReenterAtLast = false;
    bool PanelPinned = true;

    // Which kind of drawing the next paint performs.
    bool FirstPaintPending = true;
    bool FullRedrawPending = false;
    bool SlipMovePending = false;  // the canvas's picture was moved, not drawn again
    bool CellRedrawPending = false;
    std::uint8_t CellToRedraw = NoCell;

    bool InPaint = false;
    bool LeftPressed = false;
    QObject *FocusAtDeactivation = nullptr;
    int FullRedraws = 0;
    int CellRedraws = 0;

    QFrame *PanelBtn = nullptr;
    QToolButton *BitBtnClear = nullptr;
    QToolButton *BitBtnVerify = nullptr;
    QToolButton *BitBtnCheck = nullptr;
    QToolButton *BitBtnTrial = nullptr;
    QToolButton *BitBtnAbout = nullptr;
    QPlainTextEdit *MemoGen = nullptr;
    EditorInput *MemoGenInput = nullptr;

    TdlgTrial *dlgTrial = nullptr;
    TdlgKojoCheck *dlgKojoCheck = nullptr;
    TdlgVerifyTax *dlgVerifyTax = nullptr;
    TdlgAboutBox *dlgAboutBox = nullptr;
};

} // namespace mivrel
