#pragma once

#include <QList>

class ActionLabel;

// Labels of one array that share the hover look: the label under the mouse gets it, the
// others of the array lose it, in ascending index order.
class HoverGroup {
public:
    HoverGroup() = default;
    explicit HoverGroup(QList<ActionLabel*> labels) : m_labels(std::move(labels)) {}

    void hover(int index) const;
    void reset() const;

private:
    QList<ActionLabel*> m_labels;
};
