// The pictures the build paints from designs.json: both wallpapers of every
// design as valid bitmaps of the promised sizes, the previews, designs.js for
// the pages, distinct designs, the same pixels on every build.

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "TestEnvironment.h"

class tst_DesignFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void describesNineDesigns();
    void everyDesignHasItsPictures_data();
    void everyDesignHasItsPictures();
    void designsLookDistinct();
    void paintingIsRepeatable();
    void brokenDescriptionStopsTheBuild_data();
    void brokenDescriptionStopsTheBuild();

private:
    static QString programFile(const QString &relative);
    static QByteArray hashOf(const QString &fileName);

    QJsonObject description;
};

QString tst_DesignFiles::programFile(const QString &relative)
{
    return TestEnvironment::programDir() + '/' + relative;
}

QByteArray tst_DesignFiles::hashOf(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

void tst_DesignFiles::initTestCase()
{
    // designs.js is "var ZintelloDesigns = <JSON>;" after a comment line.
    QFile script(programFile("html/designs.js"));
    QVERIFY2(script.open(QIODevice::ReadOnly), qPrintable(script.fileName()));
    QByteArray content = script.readAll();
    const int start = content.indexOf('{');
    const int end = content.lastIndexOf('}');
    QVERIFY(start > 0 && end > start);
    QVERIFY(content.left(start).contains("var ZintelloDesigns = "));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content.mid(start, end - start + 1), &error);
    QVERIFY2(document.isObject(), qPrintable(error.errorString()));
    description = document.object();
}

void tst_DesignFiles::describesNineDesigns()
{
    QCOMPARE(description.value("default").toInt(), 9);
    const QJsonArray designs = description.value("designs").toArray();
    QCOMPARE(designs.size(), 9);
    for (int i = 0; i < designs.size(); ++i) {
        const QJsonObject design = designs.at(i).toObject();
        QCOMPARE(design.value("number").toInt(), i + 1);
        for (const char *language : { "en", "de", "fr", "es" })
            QVERIFY(!design.value("name").toObject().value(language).toString().isEmpty());
        QCOMPARE(design.value("wallpapers").toObject().value("wide").toString(),
                 QStringLiteral("../Wallpapers/A_design_%1.bmp").arg(i + 1));
        QCOMPARE(design.value("wallpapers").toObject().value("other").toString(),
                 QStringLiteral("../Wallpapers/B_design_%1.bmp").arg(i + 1));
    }
    // The pages take the languages they speak and the wide-screen rule from designs.json.
    QFile source(ZINTELLO_DESIGNS_JSON);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QJsonObject described = QJsonDocument::fromJson(source.readAll()).object();
    QVERIFY(!described.value("languages").toArray().isEmpty());
    QCOMPARE(description.value("languages"), described.value("languages"));
    QVERIFY(described.value("wideScreenRatio").toDouble() > 1);
    QCOMPARE(description.value("wideScreenRatio"), described.value("wideScreenRatio"));
}

void tst_DesignFiles::everyDesignHasItsPictures_data()
{
    QTest::addColumn<int>("design");
    for (int design = 1; design <= 9; ++design)
        QTest::addRow("design %d", design) << design;
}

void tst_DesignFiles::everyDesignHasItsPictures()
{
    QFETCH(int, design);
    const QList<QPair<QString, QSize>> bitmaps {
        { QStringLiteral("Wallpapers/A_design_%1.bmp").arg(design), QSize(1920, 1080) },
        { QStringLiteral("Wallpapers/B_design_%1.bmp").arg(design), QSize(1280, 1024) } };
    for (const auto &bitmap : bitmaps) {
        QImageReader reader(programFile(bitmap.first));
        // Recognised by content, not by name: Windows needs a real BMP.
        reader.setDecideFormatFromContent(true);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        QCOMPARE(reader.size(), bitmap.second);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QVERIFY(!image.hasAlphaChannel());
        // A picture, not a flat fill.
        QVERIFY(image.pixel(10, 10) != image.pixel(image.width() / 2, image.height() * 3 / 4));
    }
    QFile bitmapFile(programFile(bitmaps.first().first));
    QVERIFY(bitmapFile.open(QIODevice::ReadOnly));
    QCOMPARE(bitmapFile.read(2), QByteArray("BM"));

    const QJsonObject entry = description.value("designs").toArray().at(design - 1).toObject();
    QImageReader preview(programFile("html/" + entry.value("preview").toString()));
    QCOMPARE(preview.format(), QByteArray("png"));
    QVERIFY(preview.size().width() >= 146 && preview.size().height() >= 82);
    // The preview shows the wide wallpaper.
    const QImage small = preview.read();
    const QImage wide = QImage(programFile(bitmaps.first().first)).scaled(small.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QPoint probe(small.width() / 3, small.height() / 3);
    const QColor a = small.pixelColor(probe), b = wide.pixelColor(probe);
    QVERIFY(qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 24);
}

void tst_DesignFiles::designsLookDistinct()
{
    // The average colours of any two previews lie well apart, or their pictures differ widely.
    QList<QImage> previews;
    for (int design = 1; design <= 9; ++design)
        previews.append(QImage(programFile(QStringLiteral("html/previews/design_%1.png").arg(design)))
                        .scaled(16, 9, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32));
    for (int i = 0; i < previews.size(); ++i) {
        for (int j = i + 1; j < previews.size(); ++j) {
            qint64 difference = 0;
            for (int y = 0; y < 9; ++y) {
                for (int x = 0; x < 16; ++x) {
                    const QRgb a = previews[i].pixel(x, y), b = previews[j].pixel(x, y);
                    difference += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
                }
            }
            QVERIFY2(difference / (16 * 9) > 40, qPrintable(QStringLiteral("designs %1 and %2").arg(i + 1).arg(j + 1)));
        }
    }
}

void tst_DesignFiles::paintingIsRepeatable()
{
    QTemporaryDir again;
    QVERIFY(again.isValid());
    QProcess painter;
    painter.start(ZINTELLO_DESIGN_PAINTER, { ZINTELLO_DESIGNS_JSON, again.path() });
    QVERIFY(painter.waitForFinished(120000));
    QCOMPARE(painter.exitCode(), 0);
    for (int design = 1; design <= 9; ++design) {
        for (const QString &file : { QStringLiteral("Wallpapers/A_design_%1.bmp"), QStringLiteral("Wallpapers/B_design_%1.bmp"),
                                     QStringLiteral("html/previews/design_%1.png") }) {
            const QString relative = file.arg(design);
            QVERIFY2(hashOf(again.filePath(relative)) == hashOf(programFile(relative)), qPrintable(relative));
        }
    }
    QCOMPARE(hashOf(again.filePath("html/designs.js")), hashOf(programFile("html/designs.js")));
}

void tst_DesignFiles::brokenDescriptionStopsTheBuild_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown motif") << "fixtures/unknown-motif.json" << "unknown motif \"spirals\"";
    QTest::newRow("bad colour") << "fixtures/bad-colour.json" << "colour sky is not a colour";
    QTest::newRow("no languages") << "fixtures/no-languages.json" << "languages must list the language codes";
    QTest::newRow("no wide screens") << "fixtures/zero-wide-ratio.json" << "wideScreenRatio must be a number above 0";
    QTest::newRow("missing file") << "fixtures/absent.json" << "absent.json";
}

void tst_DesignFiles::brokenDescriptionStopsTheBuild()
{
    QFETCH(QString, fixture);
    QFETCH(QString, message);
    QTemporaryDir output;
    const QString path = fixture.endsWith("absent.json") ? output.filePath("absent.json") : QFINDTESTDATA(fixture);
    QProcess painter;
    painter.start(ZINTELLO_DESIGN_PAINTER, { path, output.path() });
    QVERIFY(painter.waitForFinished(60000));
    QCOMPARE(painter.exitCode(), 1);
    QVERIFY2(painter.readAllStandardError().contains(message.toUtf8()), qPrintable(message));
    QVERIFY(QDir(output.filePath("Wallpapers")).isEmpty());
}

QTEST_GUILESS_MAIN(tst_DesignFiles)
#include "tst_designfiles.moc"
