#include "shellext/RtfToText.h"

#include "app/text/HexDigit.h"
#include "app/text/RtfDestinations.h"

#include <optional>

namespace shellext {

namespace {

struct RtfState {
    bool parAsBlank = false;
    int depth = 0;
    std::optional<int> destinationDepth; // of the open group that holds no text
    bool inControl = false;
    bool skip = false;
    std::string word; // the control word being read, from its backslash
    std::string text;
};

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// True when the group whose "{" comes just before `rest` is a destination without text: it
// starts with \* or with a word of such a destination, line breaks before it ignored.
bool opensNonTextDestination(std::string_view rest)
{
    const std::size_t backslash = rest.find_first_not_of("\r\n");
    if (backslash == std::string_view::npos || rest[backslash] != '\\')
        return false;
    rest.remove_prefix(backslash + 1);
    if (rest.starts_with('*'))
        return true;
    std::size_t letters = 0;
    while (letters < rest.size() && isLetter(rest[letters]))
        ++letters;
    return IsNonTextDestination(rest.substr(0, letters));
}

void append(RtfState &s, std::string_view text)
{
    if (!s.destinationDepth)
        s.text += text;
}

// Appends what the control word read so far stands for, given the character x that follows
// or extends it. False for a damaged hexadecimal escape.
bool ProcessRtfControlWord(RtfState &s, char x)
{
    if (x == '\\' || x == ' ' || x == '\n') {
        if (s.word == "\\par" || s.word == "\\line" || s.word == "\\pard") {
            append(s, s.parAsBlank ? " " : "\r\n");
            s.inControl = false;
            s.skip = true;
        } else if (s.word == "\\tab") {
            append(s, "\t");
            s.inControl = false;
            s.skip = true;
        }
    }
    if (s.word.size() == 4 && s.word.starts_with("\\'")) {
        const int high = HexDigitValue(s.word[2]);
        const int low = HexDigitValue(s.word[3]);
        if (high < 0 || low < 0)
            return false;
        const char c = static_cast<char>(high * 16 + low);
        append(s, {&c, 1});
        s.inControl = false;
        s.skip = true;
    }
    return true;
}

// One input character, x, followed by the rest of the input; false when it ends the
// conversion.
bool step(RtfState &s, char x, std::string_view rest, bool afterBackslash)
{
    s.skip = false;
    switch (x) {
    case '\\':
        if (afterBackslash) {
            s.inControl = false; // a literal backslash
        } else {
            if (s.inControl && !ProcessRtfControlWord(s, x))
                return false;
            s.word.clear();
            s.inControl = true;
        }
        break;
    case '{':
    case '}':
        if (afterBackslash) {
            s.inControl = false; // a literal brace
        } else {
            s.depth += x == '{' ? 1 : -1;
            if (x == '{' && !s.destinationDepth && opensNonTextDestination(rest))
                s.destinationDepth = s.depth;
            else if (s.destinationDepth && s.depth < *s.destinationDepth)
                s.destinationDepth.reset();
            s.skip = true;
        }
        break;
    case '\r':
    case '\n':
        if (s.inControl) {
            if (!ProcessRtfControlWord(s, x))
                return false;
            s.inControl = false;
        }
        s.skip = false; // the line break itself is text
        break;
    case ' ':
        if (s.inControl) {
            if (!ProcessRtfControlWord(s, x))
                return false;
            s.inControl = false;
            s.skip = true; // the blank that ends a control word
        }
        break;
    default: break;
    }
    if (s.inControl) {
        s.word += x;
        return ProcessRtfControlWord(s, x);
    }
    if (!s.skip)
        append(s, {&x, 1});
    return true;
}

bool isControlCharacter(char c)
{
    return static_cast<unsigned char>(c) < 32;
}
bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

std::string RtfToText(std::string_view rtf, bool parAsBlank, int maxLength)
{
    RtfState s;
    s.parAsBlank = parAsBlank;
    // The backslash test looks at the previous input character, literal or not.
    char previous = '\0';
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (!step(s, rtf[i], rtf.substr(i + 1), previous == '\\'))
            break;
        previous = rtf[i];
    }

    std::string &t = s.text;
    std::size_t last = t.size();
    while (last > 0 && isControlCharacter(t[last - 1]))
        --last;
    if (last > 0)
        t.resize(last);
    std::size_t first = 0;
    while (first < t.size() && isBlankOrControl(t[first]))
        ++first;
    t.erase(0, first);
    if (maxLength > 0 && t.size() > static_cast<std::size_t>(maxLength)) {
        t.resize(static_cast<std::size_t>(maxLength));
        t += "...";
    }
    return std::move(t);
}

} // namespace shellext
