#include "tests/support/RecordingPrintTarget.h"

#include <gtest/gtest.h>

#include <utility>

void RecordingPrintTarget::beginDocument(int pass)
{
    ASSERT_TRUE(documents.empty() || documents.back().ended || documents.back().aborted)
        << "document begun inside another";
    documents.push_back({pass, {{}}, false, false});
}

void RecordingPrintTarget::newPage()
{
    ASSERT_FALSE(documents.empty());
    documents.back().pages.emplace_back();
}

void RecordingPrintTarget::drawImage(const PrintRect &rect, const QImage &image)
{
    if (failAtDrawing && *failAtDrawing == drawings_++)
        throw PrintError("Erreur d'impression simulée.");
    ASSERT_FALSE(documents.empty());
    documents.back().pages.back().push_back({rect, image});
}

void RecordingPrintTarget::endDocument()
{
    ASSERT_FALSE(documents.empty());
    documents.back().ended = true;
}

void RecordingPrintTarget::abortDocument()
{
    ASSERT_FALSE(documents.empty());
    documents.back().aborted = true;
}

PrinterGeometry ExamplePrinter(PaperOrientation orientation)
{
    PrinterGeometry p;
    p.HorzRes = 4760;
    p.HorzSize = 202;
    p.VertRes = 6816;
    p.VertSize = 289;
    p.LogPixelsX = p.LogPixelsY = 600;
    p.PhysicalWidth = 4960;
    p.PhysicalHeight = 7016;
    p.PhysicalOffsetX = p.PhysicalOffsetY = 100;
    if (orientation == PaperOrientation::Landscape) {
        std::swap(p.HorzRes, p.VertRes);
        std::swap(p.HorzSize, p.VertSize);
        std::swap(p.PhysicalWidth, p.PhysicalHeight);
    }
    return p;
}
