#include "ical/ics_outline.h"

#include <cstddef>

namespace orvane {

namespace {

struct LogicalLine {
    std::size_t first = 0; // index of its first physical line
    std::size_t count = 1; // physical lines it spans
    std::string name; // property name, or BEGIN / END, upper case
    std::string value; // BEGIN and END only: the component name, upper case
};

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperWithoutBlanks(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ' && c != '\t')
            out += Upper(c);
    }
    return out;
}

std::vector<std::string_view> PhysicalLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size()
            && text[end + 1] == '\n')
            ++end;
        pos = end + 1;
    }
    return lines;
}

bool IsContinuation(std::string_view line) {
    return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

void Describe(LogicalLine& line, const std::string& unfolded) {
    const std::size_t name_end = unfolded.find_first_of(";:");
    line.name = UpperWithoutBlanks(std::string_view(unfolded).substr(0, name_end));
    if ((line.name == "BEGIN" || line.name == "END") && name_end != std::string::npos
        && unfolded[name_end] == ':')
        line.value = UpperWithoutBlanks(std::string_view(unfolded).substr(name_end + 1));
}

std::vector<LogicalLine> LogicalLines(const std::vector<std::string_view>& physical) {
    std::vector<LogicalLine> lines;
    std::string unfolded;
    for (std::size_t i = 0; i < physical.size(); ++i) {
        if (IsContinuation(physical[i]) && !lines.empty()) {
            ++lines.back().count;
            unfolded += physical[i].substr(1);
            continue;
        }
        if (!lines.empty())
            Describe(lines.back(), unfolded);
        lines.push_back({ i, 1, {}, {} });
        unfolded.assign(physical[i]);
    }
    if (!lines.empty())
        Describe(lines.back(), unfolded);
    return lines;
}

class OutlineBuilder {
public:
    OutlineBuilder(const std::vector<std::string_view>& physical, IcsOutline& outline)
        : physical_(physical)
        , outline_(outline) { }

    void Emit(const LogicalLine& line, std::string& to) const {
        for (std::size_t i = line.first; i < line.first + line.count; ++i) {
            to += physical_[i];
            to += "\r\n";
        }
    }
    int Number(const LogicalLine& line) const { return static_cast<int>(line.first) + 1; }

    // The calendar's own content: properties and components other than events. Of these only
    // the time zones are passed on.
    void CalendarLine(const LogicalLine& line) {
        if (line.name == "BEGIN") {
            stack_.push_back(line.value);
            if (KeptComponent())
                Emit(line, outline_.text);
        } else if (line.name == "END") {
            // An END that closes nothing open is dropped; one that closes an outer component
            // closes the inner ones with it.
            for (std::size_t depth = stack_.size(); depth-- > 0;) {
                if (stack_[depth] == line.value) {
                    while (stack_.size() > depth + 1)
                        CloseTop();
                    if (KeptComponent())
                        Emit(line, outline_.text);
                    stack_.pop_back();
                    break;
                }
            }
        } else if (KeptComponent()) {
            Emit(line, outline_.text);
        }
    }

    bool KeptComponent() const { return !stack_.empty() && stack_.front() == "VTIMEZONE"; }

    void CloseTop() {
        if (KeptComponent())
            outline_.text += "END:" + stack_.back() + "\r\n";
        stack_.pop_back();
    }
    void CloseAll() {
        while (!stack_.empty())
            CloseTop();
    }
    bool AtCalendarLevel() const { return stack_.empty(); }

    void BeginEvent(const LogicalLine& line) {
        in_event_ = true;
        event_ = {};
        event_.line = Number(line);
        event_text_.clear();
        event_stack_.assign(1, "VEVENT");
        event_problem_.clear();
        Emit(line, event_text_);
    }

    void FailEvent(std::string note) {
        if (event_problem_.empty())
            event_problem_ = std::move(note);
    }

    void EndEvent() {
        in_event_ = false;
        if (event_problem_.empty()) {
            event_.text = std::move(event_text_);
            outline_.events.push_back(std::move(event_));
        } else {
            outline_.problems.push_back({ event_.line, event_problem_ });
        }
    }

    bool InEvent() const { return in_event_; }

    // A line inside an event. Returns false when the line ends the event without belonging to
    // it (it must then be read again at calendar level).
    bool EventLine(const LogicalLine& line) {
        if (line.name == "BEGIN") {
            if (line.value == "VEVENT" || line.value == "VCALENDAR") {
                FailEvent("END:VEVENT is missing");
                EndEvent();
                return false;
            }
            event_stack_.push_back(line.value);
            return true;
        }
        if (line.name == "END") {
            if (line.value == event_stack_.back()) {
                event_stack_.pop_back();
                if (event_stack_.empty()) {
                    Emit(line, event_text_);
                    EndEvent();
                }
                return true;
            }
            if (line.value == "VEVENT") {
                FailEvent("END:" + event_stack_.back() + " is missing inside the event");
                EndEvent();
                return true;
            }
            if (line.value == "VCALENDAR") {
                FailEvent("END:VEVENT is missing");
                EndEvent();
                return false;
            }
            FailEvent("END:" + line.value + " does not close anything");
            return true;
        }
        // Of an event only what the import reads is passed on: libical spends most of its time
        // on properties, and descriptions, attendees and alarms can make up most of a file.
        if (event_stack_.size() == 1) {
            for (std::size_t k = 0; k < kEventKeyProperties.size(); ++k) {
                if (line.name == kEventKeyProperties[k]) {
                    ++event_.key_properties[k];
                    Emit(line, event_text_);
                    return true;
                }
            }
            if (line.name == "SUMMARY" || line.name == "UID" || line.name == "STATUS")
                Emit(line, event_text_);
        }
        return true;
    }

private:
    const std::vector<std::string_view>& physical_;
    IcsOutline& outline_;
    std::vector<std::string> stack_; // components open inside the calendar, outside events
    bool in_event_ = false;
    IcsEventBlock event_;
    std::vector<std::string> event_stack_;
    std::string event_text_;
    std::string event_problem_;
};

} // namespace

IcsOutline OutlineIcs(std::string_view bytes) {
    IcsOutline outline;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (bytes.find('\0') != std::string_view::npos) {
        outline.error = IcsOutlineError::kNulBytes;
        return outline;
    }
    const std::vector<std::string_view> physical = PhysicalLines(bytes);
    const std::vector<LogicalLine> lines = LogicalLines(physical);
    OutlineBuilder builder(physical, outline);

    enum class Where { kBefore, kInCalendar, kAfter };
    Where where = Where::kBefore;
    outline.text = "BEGIN:VCALENDAR\r\n";
    for (const LogicalLine& line : lines) {
        const bool blank = line.count == 1
            && physical[line.first].find_first_not_of(" \t") == std::string_view::npos;
        if (where != Where::kInCalendar) {
            if (line.name == "BEGIN" && line.value == "VCALENDAR") {
                where = Where::kInCalendar;
            } else if (where == Where::kBefore && !blank) {
                outline.error = IcsOutlineError::kNotCalendar;
                return outline;
            }
            // Lines between or after calendars belong to none and are passed over.
            continue;
        }
        if (blank)
            continue;
        if (builder.InEvent()) {
            if (builder.EventLine(line))
                continue;
        }
        if (builder.AtCalendarLevel() && line.name == "END" && line.value == "VCALENDAR") {
            where = Where::kAfter;
            continue;
        }
        if (line.name == "END" && line.value == "VCALENDAR") {
            builder.CloseAll();
            where = Where::kAfter;
            continue;
        }
        if (line.name == "BEGIN" && line.value == "VCALENDAR")
            continue; // a calendar begun inside another: its content joins the open one
        if (builder.AtCalendarLevel() && line.name == "BEGIN" && line.value == "VEVENT") {
            builder.BeginEvent(line);
            continue;
        }
        builder.CalendarLine(line);
    }
    if (where == Where::kBefore) {
        outline.error = IcsOutlineError::kNotCalendar;
        return outline;
    }
    if (where == Where::kInCalendar) {
        outline.error = IcsOutlineError::kTruncated;
        return outline;
    }
    outline.text += "END:VCALENDAR\r\n";
    return outline;
}

} // namespace orvane
