#include "tools/rtf.h"

#include "core/cp1252.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace orvane {

namespace {

// Groups nested deeper than this share the state of the deepest kept group, so a hostile file
// cannot make the reader's memory grow with its nesting.
constexpr std::size_t kMaxKeptDepth = 200;
constexpr std::size_t kMaxWordLength = 32;
constexpr int kMaxParameterDigits = 9;
// How many fallback characters a \u may be followed by; larger \uc values are taken as this.
constexpr int kMaxFallbackCharacters = 16;

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsOneOf(std::string_view word, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// Destinations whose content is not text of the document: tables of fonts and styles, document
// information, pictures, objects, headers, list labels the control generates, field codes.
bool IsSkippedDestination(std::string_view word) {
    return IsOneOf(word,
        { "fonttbl", "stylesheet", "info", "pict", "object", "objdata", "header", "headerl",
            "headerr", "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "pn",
            "pntext", "pntxta", "pntxtb", "listtable", "listoverridetable", "listtext", "rsidtbl",
            "revtbl", "filetbl", "xmlnstbl", "themedata", "colorschememapping", "latentstyles",
            "datastore", "generator", "fldinst", "shp", "shpgrp", "shppict", "nonshppict", "do",
            "template", "author", "operator", "title", "comment", "txe", "xe", "tc", "bkmkstart",
            "bkmkend", "annotation", "atnid", "atnauthor" });
}

bool IsUnderlineWord(std::string_view word) {
    return IsOneOf(word,
        { "ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
            "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
            "ulwave" });
}

RtfFormat FormatOfSize(int half_points) {
    RtfFormat format;
    format.half_points = half_points;
    return format;
}

struct GroupState {
    RtfFormat format = FormatOfSize(kRtfDefaultHalfPoints);
    int color_index = 0;
    int fallback_characters = 1; // \uc
    bool skip = false; // inside a destination whose content is dropped
    bool color_table = false;
};

class RtfReader {
public:
    explicit RtfReader(std::string_view in)
        : in_(in) { }

    RtfDocument Read() {
        while (pos_ < in_.size()) {
            const char c = in_[pos_++];
            if (c == '{') {
                OpenGroup();
            } else if (c == '}') {
                if (!CloseGroup())
                    break;
            } else if (c == '\\') {
                ReadControl();
            } else if (c == '\r' || c == '\n') {
                // Line ends in the file are only layout.
            } else if (c == '\t' || static_cast<unsigned char>(c) >= 0x20) {
                Character(c);
            }
        }
        // The last paragraph mark is the document's own end, not an empty paragraph.
        return std::move(document_);
    }

private:
    void OpenGroup() {
        fallback_to_skip_ = 0;
        if (stack_.empty()) {
            stack_.emplace_back();
        } else if (stack_.size() < kMaxKeptDepth && excess_depth_ == 0) {
            GroupState inner = stack_.back();
            inner.color_table = false;
            stack_.push_back(inner);
        } else {
            ++excess_depth_;
        }
    }

    // False when the outermost group closed: the document ends there.
    bool CloseGroup() {
        fallback_to_skip_ = 0;
        if (excess_depth_ > 0) {
            --excess_depth_;
            return true;
        }
        if (stack_.empty())
            return false;
        stack_.pop_back();
        return !stack_.empty();
    }

    void ReadControl() {
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (IsLetter(c)) {
            std::string word;
            while (pos_ < in_.size() && IsLetter(in_[pos_])) {
                if (word.size() < kMaxWordLength)
                    word += in_[pos_];
                ++pos_;
            }
            std::optional<int> parameter;
            bool negative = false;
            if (pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1])) {
                negative = true;
                ++pos_;
            }
            if (pos_ < in_.size() && IsDigit(in_[pos_])) {
                int value = 0;
                int digits = 0;
                while (pos_ < in_.size() && IsDigit(in_[pos_])) {
                    if (digits < kMaxParameterDigits)
                        value = value * 10 + (in_[pos_] - '0');
                    ++digits;
                    ++pos_;
                }
                parameter = negative ? -value : value;
            }
            if (pos_ < in_.size() && in_[pos_] == ' ')
                ++pos_;
            ControlWord(word, parameter);
            return;
        }
        ++pos_;
        if (c == '\'') {
            if (pos_ + 2 > in_.size()) {
                pos_ = in_.size(); // a cut-off escape ends the file
                return;
            }
            const int high = HexValue(in_[pos_]);
            const int low = HexValue(in_[pos_ + 1]);
            if (high < 0 || low < 0)
                return;
            pos_ += 2;
            EscapedByte(static_cast<char>(high * 16 + low));
            return;
        }
        ControlSymbol(c);
    }

    bool SkippingFallback() {
        if (fallback_to_skip_ == 0)
            return false;
        --fallback_to_skip_;
        return true;
    }

    bool Dropped() const { return stack_.empty() || stack_.back().skip; }

    void ControlSymbol(char c) {
        if (stack_.empty() || SkippingFallback())
            return;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            Character(c, false);
            break;
        case '~':
            Character('\xA0', false);
            break;
        case '_':
            Character('-', false);
            break;
        case '*':
            stack_.back().skip = true;
            break;
        case '\r':
        case '\n':
            Paragraph();
            break;
        default:
            break; // optional hyphens, index marks and the like show nothing
        }
    }

    void ControlWord(std::string_view word, std::optional<int> parameter) {
        if (word == "bin") {
            // Binary data follows: its bytes are never control words or text.
            const std::size_t length = static_cast<std::size_t>(std::max(0, parameter.value_or(0)));
            pos_ += std::min(length, in_.size() - pos_);
            return;
        }
        if (stack_.empty() || SkippingFallback())
            return;
        GroupState& group = stack_.back();
        if (group.skip)
            return;
        if (IsSkippedDestination(word)) {
            group.skip = true;
            return;
        }
        if (word == "colortbl") {
            group.color_table = true;
            colors_.clear();
            return;
        }
        if (group.color_table) {
            const auto level = static_cast<std::uint8_t>(std::clamp(parameter.value_or(0), 0, 255));
            if (word == "red")
                color_entry_.red = level;
            else if (word == "green")
                color_entry_.green = level;
            else if (word == "blue")
                color_entry_.blue = level;
            else
                return;
            color_entry_set_ = true;
            return;
        }
        const bool on = !parameter || *parameter != 0;
        if (word == "par" || word == "sect" || word == "page" || word == "row") {
            Paragraph();
        } else if (word == "line") {
            Emit('\v');
        } else if (word == "tab" || word == "cell" || word == "nestcell") {
            Emit('\t');
        } else if (word == "emdash") {
            Emit('\x97');
        } else if (word == "endash") {
            Emit('\x96');
        } else if (word == "bullet") {
            Emit('\x95');
        } else if (word == "lquote") {
            Emit('\x91');
        } else if (word == "rquote") {
            Emit('\x92');
        } else if (word == "ldblquote") {
            Emit('\x93');
        } else if (word == "rdblquote") {
            Emit('\x94');
        } else if (word == "emspace" || word == "enspace" || word == "qmspace") {
            Emit(' ');
        } else if (word == "u") {
            if (!parameter)
                return;
            const int code = *parameter < 0 ? *parameter + 65536 : *parameter;
            // A character Windows-1252 cannot hold is read from the fallback text that follows.
            const auto byte = code >= 0 ? Cp1252Byte(static_cast<char32_t>(code)) : std::nullopt;
            if (byte && *byte != 0) {
                Emit(static_cast<char>(*byte));
                fallback_to_skip_ = group.fallback_characters;
            }
        } else if (word == "uc") {
            group.fallback_characters
                = std::clamp(parameter.value_or(1), 0, kMaxFallbackCharacters);
        } else if (word == "b") {
            group.format.bold = on;
        } else if (word == "i") {
            group.format.italic = on;
        } else if (word == "strike" || word == "striked") {
            group.format.strike = on;
        } else if (IsUnderlineWord(word)) {
            group.format.underline = on;
        } else if (word == "ulnone") {
            group.format.underline = false;
        } else if (word == "fs") {
            const int size = parameter.value_or(kRtfDefaultHalfPoints);
            if (size > 0)
                group.format.half_points = std::min(size, kRtfMaxHalfPoints);
        } else if (word == "cf") {
            group.color_index = std::max(0, parameter.value_or(0));
        } else if (word == "plain") {
            group.format = GroupState {}.format;
            group.color_index = 0;
        }
    }

    // A text character of the file, or one written as a control symbol.
    void Character(char c, bool literal = true) {
        if (literal && SkippingFallback())
            return;
        if (Dropped())
            return;
        GroupState& group = stack_.back();
        if (group.color_table) {
            if (c == ';') {
                colors_.push_back(color_entry_set_ ? std::optional(color_entry_) : std::nullopt);
                color_entry_ = {};
                color_entry_set_ = false;
            }
            return;
        }
        Emit(c);
    }

    void EscapedByte(char byte) {
        if (stack_.empty() || SkippingFallback() || Dropped() || stack_.back().color_table)
            return;
        if (byte != '\0')
            Emit(byte);
    }

    RtfFormat CurrentFormat() const {
        const GroupState& group = stack_.back();
        RtfFormat format = group.format;
        const auto index = static_cast<std::size_t>(group.color_index);
        format.color = index < colors_.size() ? colors_[index] : std::nullopt;
        return format;
    }

    // A paragraph mark becomes a paragraph break once text follows it.
    void Paragraph() {
        if (Dropped() || stack_.back().color_table)
            return;
        FlushParagraph();
        pending_paragraph_ = CurrentFormat();
    }

    void FlushParagraph() {
        if (pending_paragraph_) {
            document_.Append("\n", *pending_paragraph_);
            pending_paragraph_.reset();
        }
    }

    void Emit(char c) {
        if (Dropped() || stack_.back().color_table)
            return;
        FlushParagraph();
        document_.Append(std::string_view(&c, 1), CurrentFormat());
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    std::vector<GroupState> stack_;
    std::size_t excess_depth_ = 0;
    std::vector<std::optional<RtfColor>> colors_;
    RtfColor color_entry_;
    bool color_entry_set_ = false;
    int fallback_to_skip_ = 0;
    std::optional<RtfFormat> pending_paragraph_;
    RtfDocument document_;
};

void AppendNumber(std::string& out, int value) {
    out += std::to_string(value);
}

constexpr std::string_view kHexDigits = "0123456789abcdef";

class RtfWriter {
public:
    explicit RtfWriter(const RtfDocument& document)
        : document_(document) { }

    std::string Write() {
        for (const RtfRun& run : document_.runs) {
            if (run.format.color
                && std::find(colors_.begin(), colors_.end(), *run.format.color) == colors_.end())
                colors_.push_back(*run.format.color);
        }
        out_ = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
               "{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}}\r\n";
        if (!colors_.empty()) {
            out_ += "{\\colortbl ;";
            for (const RtfColor& color : colors_) {
                out_ += "\\red";
                AppendNumber(out_, color.red);
                out_ += "\\green";
                AppendNumber(out_, color.green);
                out_ += "\\blue";
                AppendNumber(out_, color.blue);
                out_ += ';';
            }
            out_ += "}\r\n";
        }
        out_ += "\\viewkind4\\uc1\\pard\\f0";
        for (const RtfRun& run : document_.runs) {
            SwitchTo(run.format);
            for (const char c : run.text)
                Text(c);
        }
        out_ += "\\par\r\n}\r\n";
        return std::move(out_);
    }

private:
    void SwitchTo(const RtfFormat& format) {
        const std::size_t before = out_.size();
        if (current_.bold != format.bold)
            out_ += format.bold ? "\\b" : "\\b0";
        if (current_.italic != format.italic)
            out_ += format.italic ? "\\i" : "\\i0";
        if (current_.underline != format.underline)
            out_ += format.underline ? "\\ul" : "\\ulnone";
        if (current_.strike != format.strike)
            out_ += format.strike ? "\\strike" : "\\strike0";
        if (current_.color != format.color) {
            out_ += "\\cf";
            AppendNumber(out_, ColorIndex(format.color));
        }
        if (current_.half_points != format.half_points) {
            out_ += "\\fs";
            AppendNumber(out_, std::clamp(format.half_points, 1, kRtfMaxHalfPoints));
        }
        if (out_.size() != before)
            out_ += ' ';
        current_ = format;
    }

    int ColorIndex(const std::optional<RtfColor>& color) const {
        if (!color)
            return 0;
        return static_cast<int>(std::find(colors_.begin(), colors_.end(), *color) - colors_.begin())
            + 1;
    }

    void Text(char c) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '\n':
            out_ += "\\par\r\n";
            return;
        case '\v':
            out_ += "\\line ";
            return;
        case '\t':
            out_ += "\\tab ";
            return;
        case '\\':
        case '{':
        case '}':
            out_ += '\\';
            out_ += c;
            return;
        default:
            break;
        }
        if (u < 0x20 || u >= 0x80) {
            out_ += "\\'";
            out_ += kHexDigits[u >> 4];
            out_ += kHexDigits[u & 0x0F];
            return;
        }
        out_ += c;
    }

    const RtfDocument& document_;
    std::vector<RtfColor> colors_;
    // What the file says so far: plain text in the automatic colour; no size yet, so the first
    // run always states its size as the control does.
    RtfFormat current_ = FormatOfSize(0);
    std::string out_;
};

} // namespace

void RtfDocument::Append(std::string_view text, const RtfFormat& format) {
    if (text.empty())
        return;
    if (!runs.empty() && runs.back().format == format)
        runs.back().text += text;
    else
        runs.push_back({ std::string(text), format });
}

std::string RtfDocument::PlainText() const {
    std::string text;
    for (const RtfRun& run : runs)
        text += run.text;
    return text;
}

bool LooksLikeRtf(std::string_view bytes) {
    return bytes.starts_with("{\\rtf");
}

RtfDocument ParseRtf(std::string_view bytes) {
    return RtfReader(bytes).Read();
}

RtfDocument PlainTextDocument(std::string_view bytes, const RtfFormat& format) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            text += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (c != '\0') {
            text += c;
        }
    }
    RtfDocument document;
    document.Append(text, format);
    return document;
}

std::string WriteRtf(const RtfDocument& document) {
    return RtfWriter(document).Write();
}

} // namespace orvane
