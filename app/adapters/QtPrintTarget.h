#pragma once

#include "app/core/print/PrintTarget.h"

#include <QPainter>
#include <QPrinter>

#include <memory>

// Paints on one high-resolution printer kept for the run, made on first use: making it loads
// the system's print support (the CUPS plugin and its libraries), which the start of the
// program does without. When the printer writes to a file, each pass goes to a file of its
// own, "<name>-1.pdf" and "<name>-2.pdf", so that the second pass does not overwrite the first.
class QtPrintTarget : public PrintTarget {
public:
    QPrinter &printer() const;

    PrinterGeometry geometry() const override;
    void setOrientation(PaperOrientation orientation) override;
    void beginDocument(int pass) override;
    void newPage() override;
    void drawImage(const PrintRect &rect, const QImage &image) override;
    void endDocument() override;
    void abortDocument() override;

private:
    void restoreOutputFileName();

    mutable std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    QString chosenOutputFileName_; // the file chosen in the print dialog, while a pass runs
    QString passFileName_;
};

// The file that pass writes to when the printer prints to fileName.
QString PassFileName(const QString &fileName, int pass);
