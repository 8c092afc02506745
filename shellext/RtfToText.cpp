#include "shellext/RtfToText.h"

namespace shellext {

namespace {

struct RtfState {
    bool parAsBlank = false;
    int depth = 0;
    bool inControl = false;
    bool skip = false;
    std::string word; // the control word being read, from its backslash
    std::string text;
};

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Appends what the control word read so far stands for, given the character x that follows
// or extends it. False for a damaged hexadecimal escape.
bool ProcessRtfControlWord(RtfState &s, char x)
{
    if (x == '\\' || x == ' ' || x == '\n') {
        if (s.word == "\\par" || s.word == "\\line" || s.word == "\\pard") {
            s.text += s.parAsBlank ? " " : "\r\n";
            s.inControl = false;
            s.skip = true;
        } else if (s.word == "\\tab") {
            s.text += '\t';
            s.inControl = false;
            s.skip = true;
        }
    }
    if (s.word.size() == 4 && s.word.starts_with("\\'")) {
        const int high = hexDigit(s.word[2]);
        const int low = hexDigit(s.word[3]);
        if (high < 0 || low < 0)
            return false;
        s.text += static_cast<char>(high * 16 + low);
        s.inControl = false;
        s.skip = true;
    }
    return true;
}

// One input character; false when it ends the conversion.
bool step(RtfState &s, char x, bool afterBackslash)
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
    default:
        break;
    }
    if (s.inControl) {
        s.word += x;
        return ProcessRtfControlWord(s, x);
    }
    if (!s.skip && s.depth <= 1)
        s.text += x;
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
    for (const char x : rtf) {
        if (!step(s, x, previous == '\\'))
            break;
        previous = x;
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
