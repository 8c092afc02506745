#include "tests/core/print/PrintFixtures.h"

#include <algorithm>

void PrintTo(const PrintRect &r, std::ostream *out)
{
    *out << '(' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ')';
}

PrintState BookState(int pages, int backCovers)
{
    PrintState state;
    for (int k = 0; k < pages + backCovers; ++k) {
        const QString name =
            k < pages ? QStringLiteral("P%1").arg(k + 1) : QStringLiteral("Q%1").arg(k - pages + 1);
        state.PageList.push_back({name, k});
    }
    state.ListePagesCount = pages;
    state.QuatrsCount = backCovers;
    state.PageCountCache = pages + backCovers;
    return state;
}

std::vector<QString> PageNames(const PrintState &state)
{
    std::vector<QString> names;
    for (const PageEntry &entry : state.PageList)
        names.push_back(entry.Name);
    return names;
}

std::vector<QString> Texts(std::initializer_list<const char *> texts)
{
    std::vector<QString> result;
    for (const char *text : texts)
        result.push_back(QString::fromUtf8(text));
    return result;
}

PageLoader LabelledPages(QSize size, std::vector<std::int32_t> imagesWithoutPicture)
{
    return [size, imagesWithoutPicture](std::int32_t image) -> std::optional<QImage> {
        if (image < 0 || std::find(imagesWithoutPicture.begin(), imagesWithoutPicture.end(),
                                   image) != imagesWithoutPicture.end())
            return std::nullopt;
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::white);
        picture.setText(QStringLiteral("label"), QStringLiteral("p%1").arg(image + 1));
        return picture;
    };
}

QString LabelOf(const QImage &image)
{
    return image.text(QStringLiteral("label"));
}

void FakeMarginsDialog::refresh()
{
    shownImageSize = UpdateMarginsPreview(state_, target_.geometry(), margins);
}

void PrintTo(const SheetSide &side, std::ostream *out)
{
    *out << '(' << side.first << ", " << side.second << ')';
}
