#include "app/book/BookFile.h"
