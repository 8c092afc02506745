// The picture commands of the "Outils" menu: converting pictures to JPEG and extracting the
// pages of the open book.
#include "app/Unit1.h"

#include "app/core/tools/PageExtraction.h"
#include "app/core/tools/PictureConversion.h"

void TForm1::Convertir1Click()
{
    if (services.dialogs.openFile(OpenPictureDialog1))
        ConvertPictures(OpenPictureDialog1.Files, services.prompter);
}

void TForm1::Extrairelespages1Click()
{
    ExtractPages(state, services.prompter, [this](QString &folder) {
        return services.dialogs.chooseFolder(
            QStringLiteral("Sélectionner le dossier de destination"), folder);
    });
}
