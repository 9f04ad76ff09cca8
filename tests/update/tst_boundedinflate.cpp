#include "BoundedInflate.h"

#include <QtTest>

#include <zlib.h>

// Compressed manifests count by their inflated size.
class tst_BoundedInflate : public QObject
{
    Q_OBJECT

private slots:
    void inflate_data();
    void inflate();

private:
    static QByteArray compressed(const QByteArray &data, int windowBits);
};

QByteArray tst_BoundedInflate::compressed(const QByteArray &data, int windowBits)
{
    z_stream stream = {};
    deflateInit2(&stream, 9, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&stream, uLong(data.size()))) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.truncate(int(stream.total_out));
    deflateEnd(&stream);
    return out;
}

void tst_BoundedInflate::inflate_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray manifest = R"({"k":{"Version":"2.0"}})";
    const QByteArray mebibyte(1024 * 1024, ' ');
    QTest::newRow("gzip") << compressed(manifest, 31) << 1024 << true << manifest;
    QTest::newRow("zlib") << compressed(manifest, 15) << 1024 << true << manifest;
    QTest::newRow("exactly the limit") << compressed(mebibyte, 31) << mebibyte.size() << true << mebibyte;
    QTest::newRow("one byte over the limit") << compressed(mebibyte + ' ', 31) << mebibyte.size() << false << QByteArray();
    QTest::newRow("1 GiB bomb stops at the limit") << compressed(QByteArray(64 << 20, ' '), 31) << 1024 << false << QByteArray();
    QTest::newRow("cut short") << compressed(manifest, 31).left(10) << 1024 << false << QByteArray();
    QTest::newRow("not compressed") << manifest << 1024 << false << QByteArray();
    QTest::newRow("empty") << QByteArray() << 1024 << false << QByteArray();
}

void tst_BoundedInflate::inflate()
{
    QFETCH(QByteArray, input);
    QFETCH(int, limit);
    QFETCH(bool, accepted);
    QFETCH(QByteArray, expected);
    QByteArray inflated;
    QCOMPARE(BoundedInflate::inflate(input, limit, inflated), accepted);
    QVERIFY(inflated.size() <= limit + 1);
    if (accepted)
        QCOMPARE(inflated, expected);
}

QTEST_APPLESS_MAIN(tst_BoundedInflate)
#include "tst_boundedinflate.moc"
