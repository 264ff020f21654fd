#include "HoverGroup.h"

#include "ui/ActionLabel.h"

void HoverGroup::hover(int index) const
{
    for (int i = 0; i < m_labels.size(); ++i)
        if (i != index)
            m_labels[i]->setHighlighted(false);
    if (ActionLabel* label = m_labels.value(index))
        label->setHighlighted(true);
}

void HoverGroup::reset() const
{
    for (ActionLabel* label : m_labels)
        label->setHighlighted(false);
}
