#pragma once

#include "app/Dialogs.h"

#include <deque>
#include <optional>
#include <vector>

// Records every dialog shown and answers from a script: a list of files for OK, nothing for
// Cancel. Once the script runs out every dialog is cancelled. The print dialog's file is the
// PDF file that the printer then prints to.
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Open, Save, Print };
    struct Request {
        Kind kind;
        FileDialog dialog; // as the program set it up
    };

    bool openFile(FileDialog &dialog) override { return answer(Kind::Open, dialog); }
    bool saveFile(FileDialog &dialog) override { return answer(Kind::Save, dialog); }
    bool print(QPrinter &printer) override;

    void choose(const QStringList &files) { script_.push_back(files); }
    void cancel() { script_.push_back(std::nullopt); }

    std::vector<Request> requests;

private:
    bool answer(Kind kind, FileDialog &dialog);
    std::deque<std::optional<QStringList>> script_;
};
