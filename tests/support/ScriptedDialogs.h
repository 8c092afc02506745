#pragma once

#include "app/core/seams/Dialogs.h"

#include <deque>
#include <optional>
#include <vector>

// Records every dialog shown and answers from a script: a list of files for OK, nothing for
// Cancel. Once the script runs out every dialog is cancelled. The print dialog's file is the
// PDF file that the printer then prints to. The other dialogs take the first entry of their
// answer: the folder, the colour's name ("#ff0000"), the font (QFont::toString) or the text.
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Open, Save, Print, Folder, Colour, Font, Input };
    struct Request {
        Kind kind;
        FileDialog dialog;   // as the program set it up; the other dialogs give their title
                             // (or caption) in Title and the value they start from in FileName
        QString prompt = {}; // the input box's prompt
    };

    bool openFile(FileDialog &dialog) override { return answer(Kind::Open, dialog); }
    bool saveFile(FileDialog &dialog) override { return answer(Kind::Save, dialog); }
    bool print(QPrinter &printer) override;
    bool chooseFolder(const QString &caption, QString &folder) override;
    bool chooseColor(QColor &colour) override;
    bool chooseFont(QFont &font) override;
    bool inputQuery(const QString &title, const QString &prompt, QString &text) override;

    void choose(const QStringList &files) { script_.push_back(files); }
    void cancel() { script_.push_back(std::nullopt); }

    std::vector<Request> requests;

private:
    bool answer(Kind kind, FileDialog &dialog, const QString &prompt = {});
    // Records a dialog that answers one text, and gives it; nothing when cancelled.
    std::optional<QString> answerText(Kind kind, const QString &title, const QString &start,
                                      const QString &prompt = {});
    std::deque<std::optional<QStringList>> script_;
};
