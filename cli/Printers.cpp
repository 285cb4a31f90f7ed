#include "Printers.h"

#include "CliOutput.h"
#include "CodePage.h"
#include "Import.h"
#include "RecordJson.h"
#include "TBCFGFile.h"

#include <algorithm>
#include <cstring>

TreeSink::Entry TreePrinter::append(Entry parent, const QByteArray& label, TBcfgRecAll*)
{
    const size_t parentIndex = toIndex(parent);
    while (!m_chain.empty() && m_chain.back() != parentIndex)
        m_chain.pop_back();
    const qint64 indent = 2 * qint64(m_chain.size());
    QByteArray& block = m_out.block();
    if (indent <= Spaces) { // one step for the whole line
        const qsizetype at = block.size();
        block.resize(at + indent + 3 * label.size() + 1);
        char* to = block.data() + at;
        std::memset(to, ' ', size_t(indent));
        to = CodePage::WriteUtf8(to + indent, label);
        *to++ = '\n';
        block.resize(to - block.constData());
    } else {
        m_out.appendSpaces(indent);
        CodePage::AppendUtf8(block, label);
        block += '\n';
    }
    m_out.written();
    m_chain.push_back(m_count);
    return toEntry(m_count++);
}

TreeSink::Entry TreePrinter::parentOf(Entry entry)
{
    // Entries are numbered in order, so the chain is sorted.
    const auto it = std::lower_bound(m_chain.begin(), m_chain.end(), toIndex(entry));
    return it == m_chain.end() || it == m_chain.begin() || *it != toIndex(entry)
               ? nullptr
               : toEntry(*(it - 1));
}

// A record's key is its parent's key and its own part, so the keys of the open
// levels are kept as one text and each line adds its part: the work is the
// output's, whatever the depth.
void PrintRecords(const TBCFGFile& doc, CliOutput& out)
{
    struct Open {
        qint32 index;
        qsizetype keyEnd;
    };
    std::vector<Open> chain;
    QByteArray key;
    QByteArray part;
    for (const auto& rec : doc.Records()) {
        while (!chain.empty() && chain.back().index != rec->ParentIndex)
            chain.pop_back();
        key.truncate(chain.empty() ? 0 : chain.back().keyEnd);
        part.resize(0);
        if (rec->ParentIndex >= 0 && chain.empty()) // not inside the open levels: made whole
            part = Import::PathKey(*rec, false);
        else
            Import::AppendPathKeyPart(part, *rec, false);
        AppendJsonText(key, part);
        AppendRecordJson(out.block(), *rec, key);
        out.block() += '\n';
        out.written();
        if (rec->IsLevelBegin())
            chain.push_back(Open{rec->Index, key.size()});
    }
}
