// The description commands: the editor and the viewer.
#include "app/Unit1.h"

#include "app/Descript.h"
#include "app/core/description/Description.h"
#include "app/core/description/Rtf.h"
#include "app/core/files/OpenFile.h"
#include "app/widgets/WindowStyle.h"

#include <QAction>
#include <QDialog>
#include <QTextEdit>

void TForm1::AjouterRemplacerladescription1Click()
{
    if (IsPdfFile(state.CurrentFile))
        return;
    if (state.CurrentFile.isEmpty()) {
        // "Aucun fichier chargé." here and in the extraction, "Aucun fichier n'est chargé." when a
        // page is to be shown: both are the program's own texts, kept as they stand.
        services.prompter.information(QStringLiteral("Aucun fichier chargé."));
        return;
    }
    Desc->loadDescription(state.DescriptionMenuVisible
                              ? DescriptionForEditor(state.Book, state.MetaRecordIndex())
                              : Bytes());
    Desc->exec();
    Description->setVisible(state.DescriptionMenuVisible);
}

void TForm1::DescriptionClick()
{
    const std::optional<Bytes> description =
        DescriptionForViewer(state.Book, state.MetaRecordIndex());
    if (!description)
        return;
    QDialog viewer;
    StyleSecondaryWindow(viewer, QStringLiteral("Description"), QSize(400, 300));
    viewer.setFixedSize(400, 300);
    auto *text = new QTextEdit(&viewer);
    text->setReadOnly(true);
    text->setGeometry(0, 0, 400, 300);
    ReadRtf(*description, *text->document());
    viewer.exec();
}
