#include "tests/support/ScriptedDialogs.h"

#include <QPrinter>

bool ScriptedDialogs::answer(Kind kind, FileDialog &dialog)
{
    requests.push_back({kind, dialog});
    if (script_.empty())
        return false;
    const std::optional<QStringList> next = script_.front();
    script_.pop_front();
    if (!next || next->isEmpty())
        return false;
    dialog.Files = *next;
    dialog.FileName = next->first();
    return true;
}

bool ScriptedDialogs::print(QPrinter &printer)
{
    FileDialog dialog;
    dialog.FileName = printer.outputFileName();
    if (!answer(Kind::Print, dialog))
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dialog.FileName);
    return true;
}
