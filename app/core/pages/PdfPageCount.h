#pragma once

#include "app/core/seams/UiHooks.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <string_view>

// One cursor over the bytes of a PDF file. No scan ever reads outside the bytes: a skip or
// search that reaches their end fails and a comparison that would pass it does not match.
class PdfScanner {
public:
    explicit PdfScanner(QByteArrayView data) : data_(data) {}

    // Skips bytes below 33, then reads a run of decimal digits into value (left unchanged
    // when there is none). A run too large for 32 bits throws std::overflow_error.
    bool PdfReadInt(std::int32_t &value);
    // Compares the bytes at the cursor with token, then steps over token's length anyway.
    bool PdfMatchToken(std::string_view token);
    // Searches forward for key ("/Name") outside nested dictionaries of the dictionary that
    // starts here; fails once that dictionary closes. On success the cursor is past the key.
    bool PdfFindKey(std::string_view key);

    void skipBlanks();
    void skipToNextLine(); // past the next line end and every line end after it
    bool atDigit() const;
    bool seek(std::int64_t position); // false when position lies outside the data
    std::int64_t position() const { return pos_; }

private:
    bool inData(std::int64_t position) const { return position >= 0 && position < data_.size(); }
    char at(std::int64_t position) const { return data_[position]; }

    QByteArrayView data_;
    std::int64_t pos_ = 0;
};

// Page count of the PDF file from its classic cross-reference table and its page tree's
// /Count; -1 on any failure, without a message. Shows the busy cursor meanwhile.
std::int32_t CountPdfPages(const QString &fileName, UiHooks &ui);

// The same count from the bytes of a whole PDF file.
std::int32_t CountPdfPagesIn(QByteArrayView data);
