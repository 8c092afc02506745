#include "tests/support/ScriptedDialogs.h"

#include <QColor>
#include <QFont>
#include <QPrinter>

bool ScriptedDialogs::answer(Kind kind, FileDialog &dialog, const QString &prompt)
{
    requests.push_back({kind, dialog, prompt});
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

std::optional<QString> ScriptedDialogs::answerText(Kind kind, const QString &title,
                                                   const QString &start, const QString &prompt)
{
    FileDialog dialog;
    dialog.Title = title;
    dialog.FileName = start;
    if (!answer(kind, dialog, prompt))
        return std::nullopt;
    return dialog.FileName;
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

bool ScriptedDialogs::chooseFolder(const QString &caption, QString &folder)
{
    const std::optional<QString> chosen = answerText(Kind::Folder, caption, folder);
    if (chosen)
        folder = *chosen;
    return chosen.has_value();
}

bool ScriptedDialogs::chooseColor(QColor &colour)
{
    const std::optional<QString> chosen = answerText(Kind::Colour, {}, colour.name());
    if (chosen)
        colour = QColor(*chosen);
    return chosen.has_value();
}

bool ScriptedDialogs::chooseFont(QFont &font)
{
    const std::optional<QString> chosen = answerText(Kind::Font, {}, font.toString());
    if (chosen)
        font.fromString(*chosen);
    return chosen.has_value();
}

bool ScriptedDialogs::inputQuery(const QString &title, const QString &prompt, QString &text)
{
    const std::optional<QString> chosen = answerText(Kind::Input, title, text, prompt);
    if (chosen)
        text = *chosen;
    return chosen.has_value();
}
