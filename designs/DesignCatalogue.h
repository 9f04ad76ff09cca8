#ifndef DESIGNCATALOGUE_H
#define DESIGNCATALOGUE_H

#include <QColor>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// One design as designs.json describes it: the painter needs the motif and the
// colours; the pages get the whole entry.
struct Design
{
    int number = 0;
    QString motif;
    QJsonObject colours;
    QJsonObject entry;

    QColor colour(const QString &key) const;
    QVector<QColor> colourList(const QString &key) const;
};

// Reads and checks designs.json, so that a typo there stops the build with a
// clear message instead of painting a black wallpaper.
class DesignCatalogue
{
public:
    bool load(const QString &fileName);
    QString errorString() const { return error; }

    QList<Design> designs() const { return list; }
    int defaultDesign() const { return defaultNumber; }
    QStringList languages() const { return languageList; }
    double wideScreenRatio() const { return wideRatio; }
    QJsonObject document() const { return root; }

    static QStringList knownMotifs();

private:
    bool fail(const QString &message);

    QList<Design> list;
    QJsonObject root;
    int defaultNumber = 0;
    QStringList languageList;
    double wideRatio = 0;
    QString error;
};

#endif
