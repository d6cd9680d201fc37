// The scripted message-box answers of the unattended mode: VLCT11_ANSWERS holds a comma-separated
// list, one entry per box in order. An entry is a decimal number or one of IDOK, IDCANCEL,
// IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO (without regard to case; blanks around it are ignored),
// optionally followed by '*': the box's "do not show again" is ticked (boxes without that offer
// ignore it). The position in the list is kept per process; it starts again when the variable's
// value differs from the one seen at the previous box.
#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class AnswerScript {
public:
    struct Entry {
        std::optional<int> answer; // nothing: the box's default
        bool dontShowAgain = false;
    };

    // The entry for the next box, taken from the list in 'value' (the variable's current value,
    // nothing when it is not set); the position moves on by one. An absent or exhausted list, an
    // empty entry or one that is no answer gives no answer: the box then takes its default.
    Entry NextEntry(const std::optional<std::string>& value);
    // The answer of the next entry.
    std::optional<int> Next(const std::optional<std::string>& value) { return NextEntry(value).answer; }

    // One entry of the list: its button id, or nothing.
    static std::optional<int> ParseAnswer(const std::string& entry);
    // One entry with its '*' mark.
    static Entry ParseEntry(const std::string& entry);

    // The process-wide script of the message boxes.
    static AnswerScript& Boxes();

private:
    std::mutex m_lock;
    std::optional<std::string> m_value;
    std::vector<Entry> m_entries;
    std::size_t m_position = 0;
};
