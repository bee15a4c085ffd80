#include "ui/common/AccessibleNames.h"

#include "ui/common/DialogUnits.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <climits>

namespace kalkora::ui {

namespace {

bool isField(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget)
        || qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QAbstractScrollArea*>(widget);
}

bool overlap(int start1, int end1, int start2, int end2)
{
    return std::max(start1, start2) < std::min(end1, end2);
}

// The label nearest to the left of `field` in its row, else the nearest one at most a line
// height above it.
QLabel* labelOf(const QWidget* field)
{
    const QRect place = field->geometry();
    QLabel* beside = nullptr;
    QLabel* above = nullptr;
    int besideGap = INT_MAX;
    int aboveGap = field->fontMetrics().height() + 1;
    for (QLabel* label : field->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const QRect rect = label->geometry();
        if (label->text().isEmpty()) {
            continue;
        }
        const int leftGap = place.left() - (rect.x() + rect.width());
        const int topGap = place.top() - (rect.y() + rect.height());
        if (leftGap >= 0 && leftGap < besideGap && overlap(rect.top(), rect.bottom(), place.top(), place.bottom())) {
            beside = label;
            besideGap = leftGap;
        } else if (topGap >= 0 && topGap < aboveGap
            && overlap(rect.left(), rect.right(), place.left(), place.right())) {
            above = label;
            aboveGap = topGap;
        }
    }
    return beside ? beside : above;
}

// The title of the group box that frames `field` (group boxes here are siblings of the controls
// they frame); an untitled one may carry an accessible name instead.
QString groupOf(const QWidget* field)
{
    for (const QGroupBox* group : field->parentWidget()->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly)) {
        if (group->geometry().contains(field->geometry().center())) {
            return group->title().isEmpty() ? group->accessibleName() : group->title();
        }
    }
    return {};
}

QString spoken(const QString& text)
{
    return QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
}

} // namespace

void nameFieldsByLabels(QWidget* window)
{
    QList<QWidget*> fields;
    QStringList names;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!isField(widget) || !isPlacedInDialogUnits(widget) || !widget->accessibleName().isEmpty()) {
            continue;
        }
        QLabel* label = labelOf(widget);
        if (label) {
            label->setBuddy(widget);
        }
        fields << widget;
        names << spoken(label ? label->text() : groupOf(widget));
    }
    for (qsizetype i = 0; i < fields.size(); ++i) {
        QString name = names[i];
        const QString group = groupOf(fields[i]);
        if (names.count(name) > 1 && !group.isEmpty() && group != name) {
            name += QStringLiteral(", ") + spoken(group);
        }
        fields[i]->setAccessibleName(name);
    }
}

} // namespace kalkora::ui
