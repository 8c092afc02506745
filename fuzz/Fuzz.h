#pragma once

#include <cstdint>
#include <span>

// What a fuzz target does with one input. FuzzMain.cpp holds libFuzzer's entry point, which
// calls it and measures the heap that the input takes. A fault the sanitizers cannot see is
// reported with FuzzFault, which aborts: libFuzzer then keeps the input as a crash.
void FuzzInput(std::span<const std::uint8_t> data);

// What a target makes once before its first input, so that no input pays for it; nothing
// unless the target defines it.
void FuzzSetUp();

[[noreturn]] void FuzzFault(const char *what);
