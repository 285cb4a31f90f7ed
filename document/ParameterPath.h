#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class TBcfgRecAll;
class TBCFGFile;

// Parameter paths: a record named by the Name texts of its enclosing levels,
// outermost first, then its own, joined by "/". A name whose Occurrence n is
// above 0 is followed by "#n"; inside a name "\", "/" and "#" are written
// "\\", "\/" and "\#". Names are converted from the code page as labels are.
// A path carries what import pairs on (occurrence and name of every level
// down to the record) except the type code, so records that import keeps
// apart can share a path; a path then names the first of them in file order.
namespace ParameterPath {

// The record's path, without a trailing "/" for a level (callers add it).
QString Of(const TBcfgRecAll& record);
// The record's own step of its path: its escaped name and, above occurrence 0, "#n".
QString Segment(const TBcfgRecAll& record);
// The same in UTF-8, appended to out.
void AppendSegmentUtf8(QByteArray& out, const TBcfgRecAll& record);
// The steps of a path as written (escapes kept), split at every "/" no backslash escapes.
std::vector<QStringView> Steps(QStringView path);
std::vector<QByteArrayView> Steps(QByteArrayView utf8Path);
// The same into steps, which keeps its room from one path to the next.
void Steps(QByteArrayView utf8Path, std::vector<QByteArrayView>& steps);

// The first record of doc, in file order, whose path is path; nullptr when
// none. Only the form Of() writes is read: other escapes, "#0" or leading
// zeros in an occurrence name nothing.
TBcfgRecAll* Find(const TBCFGFile& doc, QStringView path);

// The value part of a label of record: the text between the first ValueOpen
// after the name and the final ValueClose (TBcfgRecAll.h). A null array when label has no value
// part (a level's label is its bare name).
QByteArray LabelValue(const TBcfgRecAll& record, const QByteArray& label);
// The value part of the record's own label: its value text.
QByteArray Value(const TBcfgRecAll& record);

} // namespace ParameterPath
