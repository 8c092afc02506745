#include "platform/RegistryTree.h"

#include "app/text/HexDigit.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace platform {

namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr std::pair<Hive, const char *> HiveNames[] = {
    {Hive::ClassesRoot, "HKEY_CLASSES_ROOT"},
    {Hive::CurrentUser, "HKEY_CURRENT_USER"},
    {Hive::LocalMachine, "HKEY_LOCAL_MACHINE"},
};

const char HexDigits[] = "0123456789ABCDEF";

bool isControl(unsigned char c)
{
    return c < 0x20 || c == 0x7f;
}

// Key names: control bytes and '%' as %XX, everything else as written.
void appendKeyName(std::string &out, std::string_view name)
{
    for (const unsigned char c : name) {
        if (isControl(c) || c == '%') {
            out += '%';
            out += HexDigits[c >> 4];
            out += HexDigits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
}

// Quoted text: backslash escapes for '"', '\' and control bytes.
void appendQuoted(std::string &out, std::string_view text)
{
    out += '"';
    for (const unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (isControl(c)) {
                out += "\\x";
                out += HexDigits[c >> 4];
                out += HexDigits[c & 15];
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

void appendValue(std::string &out, const RegistryValue &value)
{
    if (value.name.empty())
        out += '@';
    else
        appendQuoted(out, value.name);
    out += '=';
    if (const auto *text = std::get_if<std::string>(&value.data)) {
        appendQuoted(out, *text);
    } else if (const auto *number = std::get_if<int32_t>(&value.data)) {
        out += "int:";
        out += std::to_string(*number);
    } else {
        const std::string &data = std::get<MultiStringData>(value.data).bytes;
        const std::vector<std::string> items = SplitMultiSz(data);
        if (JoinMultiSz(items) != data) {
            out += "multi-data:";
            appendQuoted(out, data);
        } else {
            out += "multi:";
            for (size_t i = 0; i < items.size(); ++i) {
                if (i > 0)
                    out += ',';
                appendQuoted(out, items[i]);
            }
        }
    }
    out += '\n';
}

void appendNode(std::string &out, std::string &header, const RegistryNode &node, bool isHive)
{
    if (!node.values.empty() || (!isHive && node.subKeys.empty())) {
        out += '[';
        out += header;
        out += "]\n";
        for (const RegistryValue &value : node.values)
            appendValue(out, value);
        out += '\n';
    }
    for (const auto &[name, child] : node.subKeys) {
        const size_t length = header.size();
        header += '\\';
        appendKeyName(header, name);
        appendNode(out, header, child, false);
        header.resize(length);
    }
}

class LineParser {
public:
    LineParser(std::string_view line, int number, const std::filesystem::path &origin)
        : line_(line), number_(number), origin_(origin)
    {
    }

    [[noreturn]] void fail() const
    {
        throw RegistryDamagedError("Le registre est endommagé : " + origin_.string() + " (ligne " +
                                   std::to_string(number_) + ").");
    }

    bool atEnd() const { return pos_ == line_.size(); }
    bool take(char c)
    {
        if (atEnd() || line_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }
    bool takeWord(std::string_view word)
    {
        if (line_.substr(pos_, word.size()) != word)
            return false;
        pos_ += word.size();
        return true;
    }
    void expect(char c)
    {
        if (!take(c))
            fail();
    }
    void expectEnd() const
    {
        if (!atEnd())
            fail();
    }

    std::string quoted()
    {
        expect('"');
        std::string text;
        while (true) {
            if (atEnd())
                fail();
            const char c = line_[pos_++];
            if (c == '"')
                return text;
            if (c != '\\') {
                text += c;
                continue;
            }
            if (atEnd())
                fail();
            switch (line_[pos_++]) {
            case '"': text += '"'; break;
            case '\\': text += '\\'; break;
            case 'n': text += '\n'; break;
            case 'r': text += '\r'; break;
            case 't': text += '\t'; break;
            case 'x': text += hexByte(); break;
            default: fail();
            }
        }
    }

    char hexByte()
    {
        if (pos_ + 2 > line_.size())
            fail();
        const int high = HexDigitValue(line_[pos_]);
        const int low = HexDigitValue(line_[pos_ + 1]);
        if (high < 0 || low < 0)
            fail();
        pos_ += 2;
        return static_cast<char>(high * 16 + low);
    }

    int32_t integer()
    {
        int32_t number = 0;
        const char *begin = line_.data() + pos_;
        const char *end = line_.data() + line_.size();
        const auto [next, error] = std::from_chars(begin, end, number);
        if (error != std::errc() || next == begin)
            fail();
        pos_ += static_cast<size_t>(next - begin);
        return number;
    }

    // "[HKEY_...\name\name]" with %XX escapes in the names.
    std::pair<Hive, std::vector<std::string>> keyHeader()
    {
        if (line_.size() < 2 || line_.back() != ']')
            fail();
        std::vector<std::string> names;
        std::string current;
        for (pos_ = 1; pos_ + 1 < line_.size();) {
            const char c = line_[pos_++];
            if (c == '\\') {
                names.push_back(std::move(current));
                current.clear();
            } else if (c == '%') {
                current += hexByte();
            } else if (isControl(static_cast<unsigned char>(c))) {
                fail();
            } else {
                current += c;
            }
        }
        names.push_back(std::move(current));
        const auto hive = std::find_if(std::begin(HiveNames), std::end(HiveNames),
                                       [&](const auto &entry) { return names[0] == entry.second; });
        if (hive == std::end(HiveNames))
            fail();
        names.erase(names.begin());
        if (std::any_of(names.begin(), names.end(), [](const auto &n) { return n.empty(); }))
            fail();
        return {hive->first, std::move(names)};
    }

    RegistryValue value()
    {
        RegistryValue value;
        if (!take('@'))
            value.name = quoted();
        expect('=');
        if (takeWord("int:")) {
            value.data = integer();
        } else if (takeWord("multi-data:")) {
            value.data = MultiStringData{quoted()};
        } else if (takeWord("multi:")) {
            std::vector<std::string> items;
            if (!atEnd()) {
                items.push_back(quoted());
                while (take(','))
                    items.push_back(quoted());
            }
            if (std::any_of(items.begin(), items.end(),
                            [](const std::string &item) { return item.find('\0') != item.npos; }))
                fail();
            value.data = MultiStringData{JoinMultiSz(items)};
        } else {
            value.data = quoted();
        }
        expectEnd();
        return value;
    }

private:
    std::string_view line_;
    size_t pos_ = 0;
    int number_;
    const std::filesystem::path &origin_;
};

} // namespace

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return lowerAscii(x) < lowerAscii(y);
    });
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

const RegistryNode *RegistryNode::child(std::string_view name) const
{
    const auto it = subKeys.find(name);
    return it == subKeys.end() ? nullptr : &it->second;
}

RegistryNode *RegistryNode::child(std::string_view name)
{
    return const_cast<RegistryNode *>(std::as_const(*this).child(name));
}

const RegistryValue *RegistryNode::value(std::string_view name) const
{
    const auto it = std::find_if(values.begin(), values.end(), [&](const RegistryValue &v) {
        return equalsIgnoringCase(v.name, name);
    });
    return it == values.end() ? nullptr : &*it;
}

RegistryValue *RegistryNode::value(std::string_view name)
{
    return const_cast<RegistryValue *>(std::as_const(*this).value(name));
}

void RegistryNode::set(std::string_view name, RegistryData data)
{
    if (RegistryValue *existing = value(name))
        existing->data = std::move(data);
    else
        values.push_back({std::string(name), std::move(data)});
}

const RegistryNode *RegistryTree::find(Hive hive, const std::vector<std::string> &path) const
{
    const RegistryNode *node = &hives.at(hive);
    for (const std::string &name : path) {
        node = node->child(name);
        if (!node)
            return nullptr;
    }
    return node;
}

RegistryNode *RegistryTree::find(Hive hive, const std::vector<std::string> &path)
{
    return const_cast<RegistryNode *>(std::as_const(*this).find(hive, path));
}

RegistryNode &RegistryTree::create(Hive hive, const std::vector<std::string> &path)
{
    RegistryNode *node = &hives.at(hive);
    for (const std::string &name : path) {
        RegistryNode *next = node->child(name);
        node = next ? next : &node->subKeys[name];
    }
    return *node;
}

std::vector<std::string> SplitMultiSz(std::string_view data)
{
    // The list's own final zero byte ends "\0\0", or is the whole data.
    if (data == std::string_view("\0", 1) || data.ends_with(std::string_view("\0\0", 2)))
        data.remove_suffix(1);
    std::vector<std::string> strings;
    while (!data.empty()) {
        const size_t end = data.find('\0');
        strings.emplace_back(data.substr(0, end));
        data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
    }
    return strings;
}

std::string JoinMultiSz(const std::vector<std::string> &strings)
{
    std::string data;
    for (const std::string &string : strings) {
        if (string.find('\0') != std::string::npos)
            throw RegistryError(
                "Une chaîne d'une valeur multi-chaîne ne peut contenir d'octet nul.");
        data += string;
        data += '\0';
    }
    if (!strings.empty())
        data += '\0';
    return data;
}

std::vector<std::string> splitKeyPath(std::string_view path)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            names.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

const char *hiveName(Hive hive)
{
    for (const auto &[h, name] : HiveNames)
        if (h == hive)
            return name;
    return "";
}

std::string formatRegistry(const RegistryTree &tree)
{
    std::string out = "; Registre de Quirelle\n\n";
    for (const auto &[hive, node] : tree.hives) {
        std::string header = hiveName(hive);
        appendNode(out, header, node, true);
    }
    return out;
}

RegistryTree parseRegistry(std::string_view text, const std::filesystem::path &origin)
{
    RegistryTree tree;
    RegistryNode *current = nullptr;
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        LineParser parser(line, ++number, origin);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            auto [hive, names] = parser.keyHeader();
            current = &tree.create(hive, names);
            continue;
        }
        if (!current)
            parser.fail();
        RegistryValue value = parser.value();
        if (current->value(value.name))
            parser.fail();
        current->values.push_back(std::move(value));
    }
    return tree;
}

} // namespace platform
