#pragma once

#include <QString>
#include <QStringList>

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
};

// Every dialog of the program goes through Dialogs: the windows show Qt dialogs, the tests
// record each request and answer it from a script.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // True on OK, with the chosen files in dialog; false (dialog unchanged) when cancelled.
    virtual bool openFile(FileDialog &dialog) = 0;
    virtual bool saveFile(FileDialog &dialog) = 0;
    // The print dialog on printer: true when the user chose to print with its settings.
    virtual bool print(QPrinter &printer) = 0;
};
