#pragma once

#include <QString>

class TBcfgRecAll;
class TBCFGFile;

// What the tree tells about an entry when the mouse rests on it: plain text, one fact per
// line, names converted from the code page as labels are. The first line never looks like
// markup, so a tool tip shows the text as it is.
namespace RecordDetails {

// The record's type in words: "unsigned integer", "choice of 7", "text, up to 31 bytes", ...
QString TypeWords(const TBcfgRecAll& record);

// The type, the range of an integer in its own signedness, the parameter path, the
// occurrence when above 0, the byte offset in the file, the payload in hex (the first 32
// bytes), the marks and, for an imported record, its value before the last import.
QString Of(const TBcfgRecAll& record);

// The entry of the block where loading stopped: where it starts and how many bytes from there
// on are kept for saving. Empty when doc was fully loaded.
QString OfStop(const TBCFGFile& doc);

// At most this many payload bytes are shown.
constexpr int ShownPayloadBytes = 32;

} // namespace RecordDetails
