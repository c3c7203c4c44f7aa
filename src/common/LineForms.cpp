#include "common/LineForms.h"

namespace zorneta {

QString boxFormOf(QString text, bool *erasesPrevious, bool *afterCr) {
    if (erasesPrevious)
        *erasesPrevious = false;
    for (qsizetype i = text.indexOf(u'\b'); i >= 0; i = text.indexOf(u'\b')) {
        if (i == 0) {
            if (erasesPrevious)
                *erasesPrevious = true;
            text.remove(0, 1);
        } else {
            text.remove(i - 1, 2);
        }
    }
    bool cr = afterCr && *afterCr;
    QString box;
    box.reserve(text.size() + 8);
    for (const QChar c : std::as_const(text)) {
        if (c == u'\n') {
            if (!cr)
                box += u"\r\n";
            cr = false;
        } else if (c == u'\r') {
            box += u"\r\n";
            cr = true;
        } else {
            box += c;
            cr = false;
        }
    }
    if (afterCr)
        *afterCr = cr;
    return box;
}

QString recordFormOf(QStringView boxForm, const QString &stamp, bool *atLineStart) {
    QString record;
    record.reserve(boxForm.size() + stamp.size() + 1);
    qsizetype from = 0;
    while (from < boxForm.size()) {
        if (*atLineStart) {
            record += stamp;
            record += u'\t';
            *atLineStart = false;
        }
        const qsizetype end = boxForm.indexOf(u"\r\n", from);
        if (end < 0) {
            record += boxForm.sliced(from);
            break;
        }
        record += boxForm.sliced(from, end - from);
        record += u'\n';
        *atLineStart = true;
        from = end + 2;
    }
    return record;
}

} // namespace zorneta
