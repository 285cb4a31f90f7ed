#pragma once

// A stand-in for the popups, for tests of the records' edits without any window.

#include "EditorHost.h"

#include <QDate>
#include <deque>
#include <optional>

// Answers each popup from a queue: a typed answer accepts, nullopt (Cancel) cancels, and so
// does an empty queue. Records what every showing displayed.
class FakeEditorHost : public EditorHost
{
public:
    std::deque<std::optional<QStringList>> answers;
    QStringList shown; // one line per showing
    // Only the integer and text popups take answers; the others are cancelled.
    bool textsOnly = false;
    EditorHost::StringPopup lastString;

    bool ShowIntegerPopup(const IntegerPopup& p, QString& typed) override
    {
        return answer(p.nameLabel + "|" + p.value + "|" + p.rangeLabel, true,
                      [&](const QStringList& a) { typed = a.value(0); });
    }
    bool ShowStringPopup(const StringPopup& p, QString& typed) override
    {
        lastString = p;
        // An empty answer leaves the field as the popup filled it.
        return answer(p.nameLabel + "|" + p.text + "|" + QString::number(p.textLimit), true,
                      [&](const QStringList& a) { typed = a.isEmpty() ? p.text : a.value(0); });
    }
    bool ShowChoicePopup(const QStringList& items, int selected, int& chosen) override
    {
        return answer(items.join(',') + "|" + QString::number(selected), false,
                      [&](const QStringList& a) { chosen = a.value(0).toInt(); });
    }
    bool ShowCoordinatesPopup(const QString& label, const QString& x, const QString& y, QString& tx,
                              QString& ty) override
    {
        return answer(label + "|" + x + "," + y, false, [&](const QStringList& a) {
            tx = a.value(0);
            ty = a.value(1);
        });
    }
    bool ShowFourFieldPopup(const FourFieldPopup& p, std::array<QString, 4>& typed) override
    {
        return answer(QStringList(p.labels.begin(), p.labels.end()).join(' ') + "|" +
                          QStringList(p.values.begin(), p.values.end()).join(',') + "|" +
                          (p.mode == FourFieldPopup::Mode::Colour ? "colour " : "rectangle ") +
                          QString::number(p.wheelMax),
                      false, [&](const QStringList& a) {
                          for (int i = 0; i < 4; ++i)
                              typed[size_t(i)] = a.value(i);
                      });
    }
    bool ShowTimePopup(const QString& label, const QString& text, QString& typed) override
    {
        return answer(label + "|" + text, false, [&](const QStringList& a) { typed = a.value(0); });
    }
    bool ShowDatePopup(const QDate& date, QDate& chosen) override
    {
        return answer(date.toString(Qt::ISODate), false, [&](const QStringList& a) {
            chosen = QDate::fromString(a.value(0), Qt::ISODate);
        });
    }

private:
    // Records the showing and takes the next answer, if this popup takes one; true on accept.
    bool answer(const QString& showing, bool text,
                const std::function<void(const QStringList&)>& fill)
    {
        shown << showing;
        if ((textsOnly && !text) || answers.empty())
            return false;
        const bool accepted = answers.front().has_value();
        if (accepted)
            fill(*answers.front());
        answers.pop_front();
        return accepted;
    }
};

// The fields of an answer that accepts; Cancel cancels.
inline std::optional<QStringList> typed(QStringList fields)
{
    return fields;
}
inline const std::optional<QStringList> Cancel;
