#pragma once

// Makes memory freed by the program stay with it for what it allocates next, instead of being
// given back to the system and mapped afresh.
void KeepFreedMemoryForReuse();
