#include "LabelSearch.h"

bool LabelSearch::Matches(const QString& label, const QString& text)
{
    return !text.isEmpty() && label.contains(text, Qt::CaseInsensitive);
}
