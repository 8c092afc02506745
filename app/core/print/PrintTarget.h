#pragma once

#include "app/core/print/PrintGeometry.h"
#include "app/text/UserError.h"

#include <QImage>

enum class PaperOrientation { Portrait, Landscape };

// A printer that fails to start, turn or finish a document; the text is for the user.
class PrintError : public UserError {
public:
    using UserError::UserError;
};

// Where print output goes: the program paints on its printer, the tests record every call.
// A document is one print job; rectangles are in dots from the printable area's corner.
class PrintTarget {
public:
    virtual ~PrintTarget() = default;

    // The device values of the current printer, read at each call; all zero without one.
    virtual PrinterGeometry geometry() const = 0;
    virtual void setOrientation(PaperOrientation orientation) = 0;

    // pass is 1 or 2: the two passes of a print are two documents.
    virtual void beginDocument(int pass) = 0;
    virtual void newPage() = 0;
    virtual void drawImage(const PrintRect &rect, const QImage &image) = 0;
    virtual void endDocument() = 0;
    // Drops the document begun, after an error, so that the printer can be used again.
    virtual void abortDocument() = 0;
};
