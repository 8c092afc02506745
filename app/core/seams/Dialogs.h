#pragma once

#include <QString>
#include <QStringList>

class QColor;
class QFont;
class QPrinter;

// A file dialog's settings, kept by the window between runs like a dialog component.
// A successful run sets FileName (the first file) and Files (every file chosen).
struct FileDialog {
    QString Title;
    QString Filter; // "description|patterns|description|patterns...", patterns joined by ';'
    QString InitialDir;
    QString FileName;
    QStringList Files;
    bool FileMustExist = false;
    bool AllowMultiSelect = false;
    // A picture dialog: it previews the picture of the file under the cursor and, without a
    // Filter of its own, offers every registered picture format.
    bool Picture = false;
};

// Every dialog of the program goes through Dialogs: the windows show Qt dialogs, the tests
// record each request and answer it from a script. Each returns true on OK with the answer
// in its last argument, and false (the argument unchanged) when cancelled.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual bool openFile(FileDialog &dialog) = 0;
    virtual bool saveFile(FileDialog &dialog) = 0;
    // The print dialog on printer: true when the user chose to print with its settings.
    virtual bool print(QPrinter &printer) = 0;
    // The folder dialog, starting with no folder chosen.
    virtual bool chooseFolder(const QString &caption, QString &folder) = 0;
    // The colour and font dialogs start from the colour or font given.
    virtual bool chooseColor(QColor &colour) = 0;
    virtual bool chooseFont(QFont &font) = 0;
    // An input box with a one-line edit that starts with text.
    virtual bool inputQuery(const QString &title, const QString &prompt, QString &text) = 0;
};
