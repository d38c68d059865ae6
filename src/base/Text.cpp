#include "base/Text.h"

#include <QCoreApplication>
#include <QStringList>

Text Text::Source(const char* source, std::vector<Text> values)
{
    Text text;
    text.source_ = source;
    text.values_ = std::move(values);
    return text;
}

QString Text::render(const std::function<QString(const char*)>& translate) const
{
    if (!source_)
        return datum_;
    QStringList values;
    values.reserve(qsizetype(values_.size()));
    for (const Text& value : values_)
        values << value.render(translate);
    return Fill(translate(source_), values);
}

QString Text::chinese() const
{
    return render([](const char* source) { return QString::fromUtf8(source); });
}

QString Text::Fill(const QString& pattern, const QStringList& values)
{
    QString out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('%') && i + 1 < pattern.size() && pattern[i + 1].isDigit()) {
            qsizetype j = i + 1;
            int n = 0;
            while (j < pattern.size() && pattern[j].isDigit() && n < 10)
                n = n * 10 + pattern[j++].digitValue();
            if (n >= 1 && n <= values.size()) {
                out += values[n - 1];
                i = j - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString Text::words() const
{
    return render([](const char* source) { return QCoreApplication::translate("CoreText", source); });
}
