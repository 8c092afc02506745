#include "app/adapters/QtPrintTarget.h"

#include <QFile>
#include <QFileInfo>

QPrinter &QtPrintTarget::printer() const
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

PrinterGeometry QtPrintTarget::geometry() const
{
    const QPrinter &printer = this->printer();
    if (!printer.isValid())
        return {};
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const QRectF pageMm = printer.pageRect(QPrinter::Millimeter);
    PrinterGeometry g;
    g.HorzRes = Nearest(page.width());
    g.VertRes = Nearest(page.height());
    g.HorzSize = Nearest(pageMm.width());
    g.VertSize = Nearest(pageMm.height());
    g.LogPixelsX = printer.logicalDpiX();
    g.LogPixelsY = printer.logicalDpiY();
    g.PhysicalWidth = Nearest(paper.width());
    g.PhysicalHeight = Nearest(paper.height());
    g.PhysicalOffsetX = Nearest(page.left() - paper.left());
    g.PhysicalOffsetY = Nearest(page.top() - paper.top());
    return g;
}

void QtPrintTarget::setOrientation(PaperOrientation orientation)
{
    printer().setPageOrientation(orientation == PaperOrientation::Landscape
                                     ? QPageLayout::Landscape
                                     : QPageLayout::Portrait);
}

QString PassFileName(const QString &fileName, int pass)
{
    const QFileInfo file(fileName);
    const QString suffix = file.suffix().isEmpty() ? QString() : u'.' + file.suffix();
    return file.path() + u'/' + file.completeBaseName() + u'-' + QString::number(pass) + suffix;
}

void QtPrintTarget::beginDocument(int pass)
{
    chosenOutputFileName_ = printer().outputFileName();
    passFileName_.clear();
    if (!chosenOutputFileName_.isEmpty()) {
        passFileName_ = PassFileName(chosenOutputFileName_, pass);
        printer().setOutputFileName(passFileName_);
    }
    if (!painter_.begin(&printer())) {
        restoreOutputFileName();
        throw PrintError(passFileName_.isEmpty() ? "Impossible de commencer l'impression."
                                                 : "Impossible de créer le fichier " +
                                                       passFileName_.toStdString() + ".");
    }
}

void QtPrintTarget::newPage()
{
    if (!printer().newPage())
        throw PrintError("Erreur lors de l'impression d'une nouvelle page.");
}

void QtPrintTarget::drawImage(const PrintRect &r, const QImage &image)
{
    painter_.drawImage(QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top), image);
}

void QtPrintTarget::endDocument()
{
    const bool written = painter_.end();
    restoreOutputFileName();
    if (!written)
        throw PrintError("Erreur lors de la fin de l'impression.");
}

void QtPrintTarget::abortDocument()
{
    // Qt's file and queue printers cannot abort: ending the document frees the printer (a queue
    // then prints what was drawn), and an incomplete file is removed.
    if (!printer().abort() && painter_.isActive())
        painter_.end();
    if (!passFileName_.isEmpty())
        QFile::remove(passFileName_);
    restoreOutputFileName();
}

void QtPrintTarget::restoreOutputFileName()
{
    if (!chosenOutputFileName_.isEmpty())
        printer().setOutputFileName(chosenOutputFileName_);
    chosenOutputFileName_.clear();
}
