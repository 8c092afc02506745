// The two print commands and the print job.
#include "app/Unit1.h"

#include "app/Marges.h"
#include "app/core/print/PrintLayoutCommand.h"

#include <QAction>
#include <QMenu>

namespace {

// Keeps another book from being opened and another print from starting while a print runs:
// rendering a PDF page for the printer lets pending window messages run.
class CommandsHeldBack {
public:
    explicit CommandsHeldBack(std::initializer_list<QAction *> actions)
    {
        for (QAction *action : actions) {
            held_.push_back({action, action->isEnabled()});
            action->setEnabled(false);
        }
    }
    ~CommandsHeldBack()
    {
        for (const auto &[action, enabled] : held_)
            action->setEnabled(enabled);
    }
    CommandsHeldBack(const CommandsHeldBack &) = delete;
    CommandsHeldBack &operator=(const CommandsHeldBack &) = delete;

private:
    std::vector<std::pair<QAction *, bool>> held_;
};

} // namespace

QtPrintTarget &TForm1::printTarget()
{
    if (!printTarget_)
        printTarget_ = std::make_unique<QtPrintTarget>();
    return *printTarget_;
}

TForm2 &TForm1::marginsDialog()
{
    if (!Form2)
        Form2 = new TForm2(state, printTarget(), this);
    return *Form2;
}

void TForm1::A41Click()
{
    printLayout(QStringLiteral("A4"));
}

void TForm1::A51Click()
{
    printLayout(QStringLiteral("A5"));
}

PrintJobEnv TForm1::printJobEnv()
{
    return {services.prompter, printTarget(),
            [this](std::int32_t image) { return loadPageBitmap(image); }};
}

void TForm1::printLayout(const QString &layout)
{
    const CommandsHeldBack heldBack{Ouvrir1, Imprimer1->menuAction()};
    LayoutCommandEnv env{printJobEnv(), marginsDialog(),
                         [this] { return services.dialogs.print(printTarget().printer()); }};
    if (PrepareLayout(state, layout, env))
        Imprimer1Click();
}

void TForm1::Imprimer1Click()
{
    PrintJobEnv env = printJobEnv();
    RunPrintJob(state, env);
}
