#include "app/core/creation/CreationPreview.h"

#include <QFileInfo>

namespace {

// Places the files of one list, each behind the blank pages its constraint asks for, and
// gives each row its text: the label and the file name, marked "*" when the file has a
// constraint; for a blank page, the label and "Page blanche".
class PreviewPass {
public:
    PreviewPass(NumberingRun &run, const CreationConstraintList &constraints,
                QStringList &conflicts)
        : run_(run), constraints_(constraints), conflicts_(conflicts)
    {
    }

    void place(const QStringList &files, QStringList &texts, std::vector<std::int32_t> &rows)
    {
        for (qsizetype i = 0; i < files.size(); ++i) {
            const std::int32_t index = FindConstraint(constraints_, files[i]);
            NumberingConstraint constraint;
            if (index >= 0) {
                constraint.Kind = constraints_[std::size_t(index)].Kind;
                constraint.Value = constraints_[std::size_t(index)].Value;
            }
            run_.placePage(std::int32_t(i), index >= 0 ? &constraint : nullptr,
                           [&] { conflicts_ << files[i]; });
            takeRows(texts, rows, index >= 0 ? QStringLiteral("*") : QString(),
                     QFileInfo(files[i]).fileName());
        }
    }

    // The blank pages placed since the last rows were taken.
    void takeBlankRows(QStringList &texts, std::vector<std::int32_t> &rows)
    {
        takeRows(texts, rows, QString(), QString());
    }

private:
    // The rows of the slots placed since the last call; the file's row ends them.
    void takeRows(QStringList &texts, std::vector<std::int32_t> &rows, const QString &mark,
                  const QString &fileName)
    {
        const auto &placed = run_.entries();
        for (; taken_ < placed.size(); ++taken_) {
            const PageEntry &slot = placed[taken_];
            texts << (slot.isBlank() ? slot.Name + QLatin1Char(' ') + BlankPageLabel
                                     : mark + slot.Name + QLatin1Char(' ') + fileName);
            rows.push_back(slot.Image);
        }
    }

    NumberingRun &run_;
    const CreationConstraintList &constraints_;
    QStringList &conflicts_;
    std::size_t taken_ = 0;
};

} // namespace

CreationPreview PreviewNumbering(const QStringList &pageFiles, const QStringList &quatrsFiles,
                                 bool quatrsUsed, const CreationConstraintList &constraints)
{
    CreationPreview preview;
    NumberingRun run(PreviewPolicy);
    PreviewPass pass(run, constraints, preview.Conflicts);
    pass.place(pageFiles, preview.PageTexts, preview.PageRows);
    const QStringList &quatrs = quatrsUsed ? quatrsFiles : QStringList();
    run.closeInterior(std::int32_t(quatrs.size()), !pageFiles.isEmpty());
    pass.takeBlankRows(preview.PageTexts, preview.PageRows);
    pass.place(quatrs, preview.QuatrTexts, preview.QuatrRows);
    if (!quatrsUsed)
        for (qsizetype j = 0; j < quatrsFiles.size(); ++j) {
            preview.QuatrTexts << QFileInfo(quatrsFiles[j]).fileName();
            preview.QuatrRows.push_back(std::int32_t(j));
        }
    preview.CreateEnabled = preview.Conflicts.isEmpty();
    return preview;
}

QString ConflictMessage(const QString &file)
{
    return QStringLiteral("La contrainte concernant la numérotation sur le fichier ") + file +
           QStringLiteral(" ne peut être respectée.");
}
