// Paints the designs described in designs.json into a program directory:
//   Wallpapers/A_design_N.bmp   wide screens, 1920 x 1080
//   Wallpapers/B_design_N.bmp   4:3 and 5:4 screens, 1280 x 1024
//   html/previews/design_N.png  the pictures the settings page offers
//   html/designs.js             the same description for the pages
// Run by the build, so the repository holds no bitmaps.

#include "DesignCatalogue.h"
#include "WallpaperPainter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>
#include <thread>
#include <vector>

namespace {

const QSize wideSize(1920, 1080);
const QSize squareSize(1280, 1024);
const QSize previewSize(300, 169);

QString wallpaperName(const QString &kind, int number)
{
    return QStringLiteral("%1_design_%2.bmp").arg(kind).arg(number);
}

QString previewName(int number)
{
    return QStringLiteral("previews/design_%1.png").arg(number);
}

bool writeScript(const DesignCatalogue &catalogue, const QString &fileName)
{
    QJsonArray designs;
    for (const Design &design : catalogue.designs()) {
        QJsonObject entry = design.entry;
        entry.insert("preview", previewName(design.number));
        entry.insert("wallpapers", QJsonObject {
            { "wide", "../Wallpapers/" + wallpaperName("A", design.number) },
            { "other", "../Wallpapers/" + wallpaperName("B", design.number) } });
        designs.append(entry);
    }
    const QJsonObject description { { "default", catalogue.defaultDesign() },
                                    { "languages", QJsonArray::fromStringList(catalogue.languages()) },
                                    { "wideScreenRatio", catalogue.wideScreenRatio() },
                                    { "designs", designs } };
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("// Made by the build from designs/designs.json: edit that file instead.\n"
               "var ZintelloDesigns = ");
    file.write(QJsonDocument(description).toJson(QJsonDocument::Compact));
    file.write(";\n");
    return file.commit();
}

bool paintDesign(const Design &design, const QDir &programDir)
{
    const WallpaperPainter painter(design);
    const QImage wide = painter.paint(wideSize);
    const QImage square = painter.paint(squareSize);
    const QImage preview = wide.scaled(previewSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return wide.save(programDir.filePath("Wallpapers/" + wallpaperName("A", design.number)), "BMP")
        && square.save(programDir.filePath("Wallpapers/" + wallpaperName("B", design.number)), "BMP")
        && preview.save(programDir.filePath("html/" + previewName(design.number)), "PNG");
}

}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: %s designs.json PROGRAM-DIRECTORY\n", qPrintable(arguments.value(0)));
        return 2;
    }
    DesignCatalogue catalogue;
    if (!catalogue.load(arguments.at(1))) {
        std::fprintf(stderr, "%s\n", qPrintable(catalogue.errorString()));
        return 1;
    }
    const QDir programDir(arguments.at(2));
    if (!programDir.mkpath("Wallpapers") || !programDir.mkpath("html/previews")) {
        std::fprintf(stderr, "cannot make the folders below %s\n", qPrintable(programDir.path()));
        return 1;
    }

    // The designs are independent: paint them on every core.
    const QList<Design> designs = catalogue.designs();
    std::vector<char> painted(size_t(designs.size()), 0);
    const unsigned workers = std::max(1u, std::min(std::thread::hardware_concurrency(), 4u));
    std::vector<std::thread> threads;
    for (unsigned worker = 0; worker < workers; ++worker) {
        threads.emplace_back([&, worker] {
            for (int i = int(worker); i < designs.size(); i += int(workers))
                painted[size_t(i)] = paintDesign(designs.at(i), programDir);
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int i = 0; i < designs.size(); ++i) {
        if (!painted[size_t(i)]) {
            std::fprintf(stderr, "cannot write the pictures of design %d\n", designs.at(i).number);
            return 1;
        }
    }
    if (!writeScript(catalogue, programDir.filePath("html/designs.js"))) {
        std::fprintf(stderr, "cannot write html/designs.js\n");
        return 1;
    }
    return 0;
}
