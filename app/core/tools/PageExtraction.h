#pragma once

#include "app/core/pages/BookPages.h"

#include <QString>

#include <functional>

class Prompter;

// Writes the pages of the open book into <folder>/<book name>/, each image record copied
// byte for byte: every page of state.PageList that is not blank as "<label>.jpg", a cover
// as "Couverture.jpg", a presentation image as "Présentation.jpg", and the description of
// the meta record, when it holds one, as "Description.rtf". Two pages whose labels name the
// same file, letter case aside, never overwrite each other: the later ones become
// "<label> (2).jpg", "<label> (3).jpg"... Files of an earlier extraction are replaced.
// chooseFolder runs the folder dialog (false: cancelled). No book, a PDF document, a
// damaged book and a file that cannot be written each end the command with a message.
void ExtractPages(const BookPages &state, Prompter &prompter,
                  const std::function<bool(QString &folder)> &chooseFolder);
