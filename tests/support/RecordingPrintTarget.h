#pragma once

#include "app/core/print/PrintTarget.h"

#include <QImage>

#include <optional>
#include <vector>

// Records every document, page, rectangle and image; its printer geometry is set by the test.
class RecordingPrintTarget : public PrintTarget {
public:
    struct Drawing {
        PrintRect rect;
        QImage image;
    };
    struct Document {
        int pass = 0;
        std::vector<std::vector<Drawing>> pages;
        bool ended = false;
        bool aborted = false;
    };

    PrinterGeometry geometry() const override { return printer; }
    void setOrientation(PaperOrientation value) override { orientations.push_back(value); }
    void beginDocument(int pass) override;
    void newPage() override;
    void drawImage(const PrintRect &rect, const QImage &image) override;
    void endDocument() override;
    void abortDocument() override;

    PrinterGeometry printer;
    std::vector<PaperOrientation> orientations;
    std::vector<Document> documents;
    // When set, the drawing with this 0-based number (counted over the whole run) throws.
    std::optional<int> failAtDrawing;

private:
    int drawings_ = 0;
};

// The printer of the worked examples: A4 at 600 dpi with 100-dot unprintable edges.
PrinterGeometry ExamplePrinter(PaperOrientation orientation);
