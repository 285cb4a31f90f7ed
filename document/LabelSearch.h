#pragma once

#include <QString>

namespace LabelSearch {
// Whether an entry's label (as the tree shows it) is a hit for the text typed into the find
// bar: the label contains it, compared without case in every script. An empty text finds
// nothing.
bool Matches(const QString& label, const QString& text);
} // namespace LabelSearch
