#include "DesignCatalogue.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

QColor Design::colour(const QString &key) const
{
    return QColor(colours.value(key).toString());
}

QVector<QColor> Design::colourList(const QString &key) const
{
    QVector<QColor> result;
    const QJsonArray array = colours.value(key).toArray();
    for (const QJsonValue &value : array)
        result.append(QColor(value.toString()));
    return result;
}

QStringList DesignCatalogue::knownMotifs()
{
    return { "aurora", "dunes", "waves", "alpine", "bauhaus", "bokeh", "contours", "lowpoly", "dusk" };
}

bool DesignCatalogue::fail(const QString &message)
{
    error = message;
    return false;
}

bool DesignCatalogue::load(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(fileName + ": " + file.errorString());
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject())
        return fail(QStringLiteral("%1: %2 at offset %3").arg(fileName, parseError.errorString())
                    .arg(parseError.offset));
    root = document.object();
    defaultNumber = root.value("default").toInt();
    wideRatio = root.value("wideScreenRatio").toDouble();
    if (!(wideRatio > 0))
        return fail(fileName + ": wideScreenRatio must be a number above 0");
    for (const QJsonValue &language : root.value("languages").toArray())
        languageList.append(language.toString());
    if (languageList.isEmpty() || languageList.contains(QString()))
        return fail(fileName + ": languages must list the language codes");

    QSet<int> numbers;
    const QJsonArray entries = root.value("designs").toArray();
    for (const QJsonValue &value : entries) {
        Design design;
        design.entry = value.toObject();
        design.number = design.entry.value("number").toInt();
        design.motif = design.entry.value("motif").toString();
        design.colours = design.entry.value("colours").toObject();
        const QString where = QStringLiteral("design %1").arg(design.number);
        if (design.number < 1 || numbers.contains(design.number))
            return fail(where + ": the number must be unique and at least 1");
        if (!knownMotifs().contains(design.motif))
            return fail(where + ": unknown motif \"" + design.motif + "\"");
        for (const QString &language : languageList) {
            if (design.entry.value("name").toObject().value(language).toString().isEmpty())
                return fail(where + ": no name in language " + language);
        }
        for (auto it = design.colours.begin(); it != design.colours.end(); ++it) {
            const QJsonArray array = it.value().isArray() ? it.value().toArray()
                                                          : QJsonArray { it.value() };
            for (const QJsonValue &colour : array) {
                if (!QColor::isValidColor(colour.toString()))
                    return fail(where + ": colour " + it.key() + " is not a colour");
            }
        }
        if (!design.entry.value("layer").isObject())
            return fail(where + ": no layer");
        numbers.insert(design.number);
        list.append(design);
    }
    if (list.isEmpty())
        return fail(fileName + ": no designs");
    if (!numbers.contains(defaultNumber))
        return fail(fileName + ": the default design is not described");
    return true;
}
