#include "Trial/TrialAccessible.h"

#include <QAccessibleWidget>
#include <QSlider>

#include <algorithm>

namespace mivrel {
namespace {

const char *const PositionsProperty = "mivrelPositions";
const char *const PerPositionProperty = "mivrelAmountPerPosition";

class AmountSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AmountSliderAccessible(QSlider *slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return QString::number(currentValue().toLongLong());
        return QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return AmountAt(slider()->value()); }
    // An amount between two positions goes to the position below it.
    void setCurrentValue(const QVariant &value) override
    {
        const std::int64_t steps = value.toLongLong() / PerPosition();
        slider()->setValue(static_cast<int>(std::clamp<std::int64_t>(Positions() - steps, 0, Positions())));
    }
    QVariant maximumValue() const override { return AmountAt(slider()->minimum()); }
    QVariant minimumValue() const override { return AmountAt(slider()->maximum()); }
    QVariant minimumStepSize() const override { return QVariant::fromValue<qlonglong>(PerPosition()); }

private:
    QSlider *slider() const { return static_cast<QSlider *>(widget()); }
    std::int64_t Positions() const { return slider()->property(PositionsProperty).toLongLong(); }
    std::int64_t PerPosition() const { return slider()->property(PerPositionProperty).toLongLong(); }
    QVariant AmountAt(int position) const
    {
        return QVariant::fromValue<qlonglong>((Positions() - position) * PerPosition());
    }
};

QAccessibleInterface *SliderFactory(const QString &className, QObject *object)
{
    if (className != QLatin1StringView("QSlider") || !object->property(PerPositionProperty).isValid())
        return nullptr;
    return new AmountSliderAccessible(static_cast<QSlider *>(object));
}

} // namespace

void InstallSliderAccessibility()
{
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(SliderFactory), true);
}

void SetSliderAmounts(QSlider &slider, int positions, std::int64_t perPosition)
{
    slider.setProperty(PositionsProperty, QVariant::fromValue<qlonglong>(positions));
    slider.setProperty(PerPositionProperty, QVariant::fromValue<qlonglong>(perPosition));
}

} // namespace mivrel
