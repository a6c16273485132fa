#pragma once
// The tax verification dialog: every deduction recomputed from the slip's
// items beside the tax computed from that total and from the slip's own total.

#include "Verify/Kyuho.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace mivrel {

// Created once at start-up and reused; FillVerifyTax refreshes every value
// label before each opening. The dialog only displays; it never writes the slip.
class TdlgVerifyTax : public QDialog {
    Q_OBJECT
public:
    explicit TdlgVerifyTax(QWidget *parent = nullptr);

    QLabel *valueLabel(const QString &objectName) const;

private:
    QLabel *addCaption(const QString &name, const QString &text, int left, int top,
                       const QString &hint = {});
    QLabel *addValue(QLabel *caption, const QString &name, int rightEdge, int top);
    void addFrame(int left, int top, int width, int height, int shadow);
    void addRule(int left, int top, int width, int height);
    void buildDeductionLines();
    void buildTaxRows();
    QPushButton *OKBtn = nullptr;
};

// Sets every value label of the dialog from the slip.
void FillVerifyTax(TdlgVerifyTax &dlg, const TKyuho &slip);

} // namespace mivrel
