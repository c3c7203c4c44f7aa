#include "review/ReviewActions.h"

#include "common/SystemErrors.h"
#include "platform/Prompts.h"
#include "platform/ReportPrinter.h"

#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

namespace zorneta {

QString ReviewActions::reportQuestion() {
    return QStringLiteral("Напечатать отчёт?\n\n«Да» - на принтер, «Нет» - сохранить в файл PDF или PNG.");
}

QString ReviewActions::messageTitle() {
    return QStringLiteral("Просмотр записи");
}

void ReviewActions::showError(const QString &text) {
    m_prompts.messageBox(messageTitle(), text, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

bool ReviewActions::writeWhole(const QString &path, const std::function<ReviewStatus(QIODevice &)> &write) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        showError(fileFailureText(FileAction::Open, path, file.errorString()));
        return false;
    }
    if (ReviewStatus written = write(file); !written) {
        file.cancelWriting();
        showError(written.message());
        return false;
    }
    if (!file.commit()) {
        showError(fileFailureText(FileAction::Write, path, file.errorString()));
        return false;
    }
    return true;
}

std::optional<QString> ReviewActions::chooseRecording() {
    const auto choice =
        m_prompts.openFileDialog(QStringLiteral("Просмотреть запись"),
                                 QStringLiteral("Текстовые файлы (*.TXT)|*.txt|Все файлы (*.*)|*.*"), QString());
    if (!choice || choice->fullPath.isEmpty())
        return std::nullopt;
    return choice->fullPath;
}

bool ReviewActions::exportCsv(const FiringRecord &record, const CsvOptions &options, const QString &proposedName) {
    const auto choice = m_prompts.saveFileDialog(
        QStringLiteral("Экспорт в CSV"), QStringLiteral("Таблицы CSV (*.csv)|*.csv|Все файлы (*.*)|*.*"), proposedName);
    if (!choice || choice->fullPath.isEmpty())
        return false;
    const QString path = choice->fullPath;
    return writeWhole(path, [&](QIODevice &file) { return zorneta::exportCsv(record, options, file); });
}

bool ReviewActions::report(const FiringRecord &record, const ReportOptions &options, const QString &proposedName) {
    if (!record.run(options.run)) {
        showError(missingRunText(options.run, qsizetype(record.runs().size())));
        return false;
    }
    const ReportRenderer renderer(record, options);
    if (m_printer) {
        const Prompts::Answer answer = m_prompts.messageBox(messageTitle(), reportQuestion(), Prompts::Icon::Question,
                                                            Prompts::Buttons::YesNoCancel);
        if (answer == Prompts::Answer::Cancel)
            return false;
        if (answer == Prompts::Answer::Yes)
            return m_printer->print(renderer.title(), [&renderer](QPainter &painter, const QRectF &page) {
                renderer.paint(painter, page);
            });
    }
    const auto choice = m_prompts.saveFileDialog(
        QStringLiteral("Сохранить отчёт"),
        QStringLiteral("Документ PDF (*.pdf)|*.pdf|Рисунок PNG (*.png)|*.png|Все файлы (*.*)|*.*"), proposedName);
    if (!choice || choice->fullPath.isEmpty())
        return false;
    QString path = choice->fullPath;
    const bool png = path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
    if (!png && !path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    return writeWhole(path, [&](QIODevice &file) { return png ? renderer.writePng(file) : renderer.writePdf(file); });
}

} // namespace zorneta
