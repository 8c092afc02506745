// The RTF reader of descriptions, and the writer over what it read: the bytes written are
// safe in a book's meta record and read back to a document that writes them again.
#include "app/core/description/Rtf.h"
#include "fuzz/Fuzz.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace {

bool printableOrLineBreak(std::uint8_t byte)
{
    return (byte >= 0x20 && byte < 0x7F) || byte == '\r' || byte == '\n';
}

} // namespace

// Fonts and text layout want an application; the first document read loads the fonts.
void FuzzSetUp()
{
    static int argc = 1;
    static char name[] = "rtf_reader_fuzzer";
    static char *argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QGuiApplication(argc, argv); // lives as long as the process
    static constexpr std::string_view sample = "{\\rtf1 {\\b Une} histoire}";
    QTextDocument document;
    ReadRtf(std::span(reinterpret_cast<const std::uint8_t *>(sample.data()), sample.size()),
            document);
    WriteRtf(document);
}

void FuzzInput(std::span<const std::uint8_t> data)
{
    QTextDocument document;
    ReadRtf(data, document);
    const Bytes written = WriteRtf(document);

    const std::string_view text(reinterpret_cast<const char *>(written.data()), written.size());
    if (!std::ranges::all_of(written, printableOrLineBreak))
        FuzzFault("the RTF written holds a byte that is neither printable ASCII nor CR LF");
    if (text.find("%EOF") != std::string_view::npos)
        FuzzFault("the RTF written holds %EOF");
    if (!text.ends_with("\r\n"))
        FuzzFault("the RTF written does not end with CR LF");

    QTextDocument again;
    ReadRtf(written, again);
    if (WriteRtf(again) != written)
        FuzzFault("the RTF read back writes other bytes");
}
