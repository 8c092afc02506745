#include "tests/support/DocumentFixture.h"

#include "tests/support/BookFixture.h"
#include "tests/support/RunTool.h"
#include "tests/support/TempDir.h"

#include <QStandardPaths>

#include <fstream>
#include <stdexcept>

namespace {

void WriteText(const std::filesystem::path &path, const QString &text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text.toStdString();
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

QString Escaped(QString text)
{
    return text.replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;");
}

} // namespace

void MakeTextDocument(const std::filesystem::path &path, const QStringList &pages,
                      const QImage &picture)
{
    const TempDir parts;
    WriteText(parts / "mimetype", "application/vnd.oasis.opendocument.text");
    WriteText(parts / "META-INF" / "manifest.xml",
              R"(<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">
 <manifest:file-entry manifest:full-path="/" manifest:media-type="application/vnd.oasis.opendocument.text"/>
 <manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>
 <manifest:file-entry manifest:full-path="Pictures/picture.png" manifest:media-type="image/png"/>
</manifest:manifest>
)");
    std::filesystem::create_directories(parts / "Pictures");
    if (!picture.save(QString::fromStdString((parts / "Pictures" / "picture.png").string()), "PNG"))
        throw std::runtime_error("cannot write the picture");

    QString body;
    for (qsizetype i = 0; i < pages.size(); ++i)
        body += QStringLiteral("<text:p%1>%2</text:p>\n")
                    .arg(i > 0 ? QStringLiteral(" text:style-name=\"NewPage\"") : QString(),
                         Escaped(pages[i]));
    body += QStringLiteral(
                "<text:p><draw:frame draw:name=\"picture\" text:anchor-type=\"as-char\" "
                "svg:width=\"%1px\" svg:height=\"%2px\"><draw:image "
                "xlink:href=\"Pictures/picture.png\" xlink:type=\"simple\" xlink:show=\"embed\" "
                "xlink:actuate=\"onLoad\"/></draw:frame></text:p>\n")
                .arg(picture.width())
                .arg(picture.height());
    WriteText(parts / "content.xml", QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" office:version="1.2">
<office:automatic-styles><style:style style:name="NewPage" style:family="paragraph">
<style:paragraph-properties fo:break-before="page"/></style:style></office:automatic-styles>
<office:body><office:text>
%1</office:text></office:body></office:document-content>
)")
                                         .arg(body));

    // The type comes first and uncompressed, as readers expect of the format.
    const QString archive = QString::fromStdString(std::filesystem::absolute(path).string());
    const QString folder = QString::fromStdString(parts.path().string());
    std::filesystem::remove(path);
    if (!RunTool("zip", {"-X", "-0", "-q", archive, "mimetype"}, folder) ||
        !RunTool("zip", {"-X", "-q", "-r", archive, "content.xml", "META-INF", "Pictures"}, folder))
        throw std::runtime_error("zip failed");
}

bool HasLibreOffice()
{
    return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty();
}

Bytes RtfWrittenByLibreOffice(const std::filesystem::path &folder, std::string_view html)
{
    WriteFileBytes(folder / "page.html", ToBytes(html));
    const QString dir = QString::fromStdString(folder.string());
    const bool converted =
        RunTool(QStringLiteral("soffice"),
                {QStringLiteral("--headless"),
                 QStringLiteral("-env:UserInstallation=file://") + dir + QStringLiteral("/profile"),
                 QStringLiteral("--infilter=HTML (StarWriter)"), QStringLiteral("--convert-to"),
                 QStringLiteral("rtf"), QStringLiteral("--outdir"), dir + QStringLiteral("/out"),
                 dir + QStringLiteral("/page.html")});
    if (!converted)
        return {};
    return ReadFileBytes(folder / "out/page.rtf");
}
