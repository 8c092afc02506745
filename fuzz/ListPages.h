#pragma once

#include <cstdint>
#include <span>

// Opens the book as the program does, from a file, then counts its pages and builds its page
// list, every message box answered; a fault when a page names an image record that the book
// does not have.
void ListPagesOf(std::span<const std::uint8_t> book);
