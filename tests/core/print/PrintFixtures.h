#pragma once

#include "app/core/print/PrintLayoutCommand.h"
#include "app/core/print/PrintState.h"

#include <QImage>
#include <QSize>

#include <ostream>
#include <string>
#include <vector>

void PrintTo(const PrintRect &rect, std::ostream *out);

// A page list of `pages` pages and `backCovers` back covers, named "P1".. and "Q1".., whose
// entry k shows image record k.
PrintState BookState(int pages, int backCovers);

std::vector<QString> PageNames(const PrintState &state);
std::vector<QString> Texts(std::initializer_list<const char *> texts);

// Image record k is a size-pixel picture labelled "p<k+1>"; imagesWithoutPicture give nullopt.
PageLoader LabelledPages(QSize size, std::vector<std::int32_t> imagesWithoutPicture = {});
QString LabelOf(const QImage &image);

// The margins dialog closed at once with the values set here.
class FakeMarginsDialog : public MarginsDialog {
public:
    FakeMarginsDialog(PrintState &state, PrintTarget &target) : state_(state), target_(target) {}

    void setMiddleEnabled(bool enabled) override { middleEnabled = enabled; }
    void setMinima(const MarginsMm &value) override { minima = value; }
    void refresh() override;
    void showModal() override { ++shown; }
    MarginsMm values() const override { return margins; }

    MarginsMm margins{20, 20, 40};
    MarginsMm minima;
    bool middleEnabled = false;
    QSize shownImageSize; // what the dialog shows as "X : " and "Y : "
    int shown = 0;

private:
    PrintState &state_;
    PrintTarget &target_;
};

void PrintTo(const SheetSide &side, std::ostream *out);
