#pragma once

#include <stdexcept>

// An error meant for the user: its text is a French message, shown as it is. The commands
// that can meet one catch this base (or one of its kinds) and show the message; any other
// exception is a fault of the program and goes on to the crash report.
class UserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be opened or read.
class FileReadError : public UserError {
public:
    using UserError::UserError;
};

// A file that cannot be written.
class FileWriteError : public UserError {
public:
    using UserError::UserError;
};

// A file that was replaced or changed while a new version of it was being written: the new
// version was not put in its place.
class FileChangedError : public FileWriteError {
public:
    using FileWriteError::FileWriteError;
};
