#pragma once

#include "app/core/pages/BookPages.h"
#include "app/core/seams/Prompter.h"

#include <cstdint>
#include <span>

// Answers every message box.
class SilentPrompter : public Prompter {
public:
    MessageAnswer show(const QString &, const QString &, MessageIcon, MessageButtons) override
    {
        return MessageAnswer::Ok;
    }
};

// Writes the book as FuzzFolder()/livre.bd, opens it as the program does, then counts its
// pages and builds its page list, every message box answered; a fault when a page names an
// image record that the book does not have.
BookPages ListPagesOf(std::span<const std::uint8_t> book);
