#include "image/image_compile.h"
#include "image/image_layout.h"

#include "image/image_project.h"

#include <QTest>

#include <algorithm>

using namespace lw::image;
using lw::test::Record_Bytes;
using lw::test::U32_At;

namespace {

QByteArray Bytes(const std::uint8_t* at, int size)
{
    return QByteArray(reinterpret_cast<const char*>(at), size);
}

// The parameter block of a project without settings file: fixed values,
// defaults and the three device addresses.
Device_Params Default_Params()
{
    Device_Params p;
    Init_Params(p);
    p.Read_Area_Address = Device_Read_Area;
    p.Write_Area_Address = Device_Write_Area;
    p.Image_End_Address = Device_Image_End;
    return p;
}

QByteArray Block_Of(const Device_Params& p)
{
    Image_Buffer buffer;
    if (!Write_Param_Block(p, buffer, 0))
        return {};
    return Bytes(buffer.Data(), Block_Size);
}

} // namespace

class TestImageLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sizes()
    {
        QCOMPARE(Image_Size, 22528);
        QCOMPARE(Area_Size, 10240);
        QCOMPARE(Write_Area_Offset, 0x2800);
        QCOMPARE(Param_Block_Offset, 0x5000);
        QCOMPARE(Image_Buffer().Capacity(), std::size_t(131072));
        QCOMPARE(Image_Buffer().Image_Length, 0u);
        const Image_Buffer fresh;
        QVERIFY(std::all_of(fresh.Data(), fresh.Data() + fresh.Capacity(), [](std::uint8_t b) { return b == 0; }));
    }

    void rowBytes_data()
    {
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QByteArray>("bytes");

        Image_Row example;
        example.Poll_Time = 500;
        example.Priority = 3;
        example.Length = 2;
        example.Flags = 0x102A;
        example.APCI = 0x0080;
        example.Source_Address = 0x110A;
        example.Destination_Address = 0x0A03;
        example.Position = 4;
        std::uint8_t out[Row_Size] = {};
        Write_Row(out, example);
        QTest::newRow("worked example")
            << QByteArray::fromHex("F4010000000000000302 2A10 8000 0A11 030A 0400") << Bytes(out, Row_Size);

        Image_Row distinct;
        distinct.Poll_Time = 0x04030201;
        distinct.Zero = 0x08070605;
        distinct.Priority = 0x09;
        distinct.Length = 0x0A;
        distinct.Flags = 0x0C0B;
        distinct.APCI = 0x0E0D;
        distinct.Source_Address = 0x100F;
        distinct.Destination_Address = 0x1211;
        distinct.Position = 0x1413;
        Write_Row(out, distinct);
        QTest::newRow("every byte in its place")
            << QByteArray::fromHex("0102030405060708090A0B0C0D0E0F1011121314") << Bytes(out, Row_Size);
        QTest::newRow("independent layout")
            << Record_Bytes(500, 3, 2, 0x102A, 0x80, 0x110A, 0x0A03, 4)
            << QByteArray::fromHex("F40100000000000003022A1080000A11030A0400");
    }
    void rowBytes()
    {
        QFETCH(QByteArray, expected);
        QFETCH(QByteArray, bytes);
        QCOMPARE(bytes.toHex(' '), expected.toHex(' '));
        const Image_Row back = Read_Row(reinterpret_cast<const std::uint8_t*>(bytes.constData()));
        std::uint8_t again[Row_Size] = {};
        Write_Row(again, back);
        QCOMPARE(Bytes(again, Row_Size), bytes);
    }

    void defaultBlock()
    {
        const QByteArray block = Block_Of(Default_Params());
        QCOMPARE(block.size(), Block_Size);
        QCOMPARE(U32_At(block, 0x7FC), 4606u);
        QCOMPARE(block.mid(0x7FC, 4), QByteArray::fromHex("FE110000"));
    }

    // Every non-zero value of the default block, at its block offset; every
    // other byte before the checksum is 0.
    void defaultBlockWhole()
    {
        const QList<QPair<int, QByteArray>> values = {
            {0x000, QByteArray::fromHex("48E80100")},             // 125000
            {0x00C, QByteArray::fromHex("80250000")},             // 9600
            {0x010, QByteArray::fromHex("0800")},
            {0x028, QByteArray::fromHex("C0A802CD")},             // 192.168.2.205
            {0x02C, QByteArray::fromHex("FFFFFF00")},             // 255.255.255.0
            {0x030, QByteArray::fromHex("FFFFFFFF")},             // gateway not enabled
            {0x034, QByteArray::fromHex("102711271127")},         // 10000, 10001, 10001
            {0x03C, QByteArray::fromHex("80250000")},             // 9600
            {0x040, QByteArray::fromHex("0800")},
            {0x194, QByteArray::fromHex("00960000")},             // 38400
            {0x1AF, QByteArray::fromHex("01")},
            {0x1B4, QByteArray::fromHex("0808080808080808")},
            {0x1BC, QByteArray::fromHex("00300600")},             // 0x63000
            {0x1C0, QByteArray::fromHex("00580600")},             // 0x65800
            {0x1CC, QByteArray::fromHex("570E")},                 // 3671
            {0x1D4, QByteArray::fromHex("50C351C352C3")},         // 50000, 50001, 50002
            {0x1DE, QByteArray::fromHex("0002")},                 // 512
            {0x1E0, QByteArray::fromHex("00880600")},             // 0x68800
        };
        QByteArray expected(0x7FC, '\0');
        for (const auto& [offset, bytes] : values)
            expected.replace(offset, bytes.size(), bytes);
        const QByteArray block = Block_Of(Default_Params());
        for (int i = 0; i < 0x7FC; ++i) {
            if (block[i] != expected[i])
                QFAIL(qPrintable(QStringLiteral("block offset 0x%1: %2, expected %3")
                                     .arg(i, 3, 16, QChar(u'0'))
                                     .arg(std::uint8_t(block[i]))
                                     .arg(std::uint8_t(expected[i]))));
        }
    }

    void variableFieldOffsets()
    {
        Device_Params p = Default_Params();
        p.IP_Address = {1, 2, 3, 4};
        p.Subnet_Mask = {5, 6, 7, 8};
        p.Gateway = {9, 10, 11, 12};
        p.Station_Name.fill(0x41);
        p.Write_Count = 0x01020304;
        p.KNX_Address = 0xABCD;
        const QByteArray block = Block_Of(p);
        QCOMPARE(block.mid(0x028, 12), QByteArray::fromHex("0102030405060708090A0B0C"));
        QCOMPARE(block.mid(0x050, 16), QByteArray(16, 'A'));
        QCOMPARE(block.mid(0x060, 8), QByteArray(8, '\0'));
        QCOMPARE(block.mid(0x1C8, 4), QByteArray::fromHex("04030201"));
        QCOMPARE(block.mid(0x1CE, 2), QByteArray::fromHex("CDAB"));
        QCOMPARE(Read_Param_Block(reinterpret_cast<const std::uint8_t*>(block.constData())), p);
    }

    // The checksum follows every byte of the block.
    void checksumCoversBlock()
    {
        const Device_Params base = Default_Params();
        const std::uint32_t baseSum = U32_At(Block_Of(base), 0x7FC);
        Device_Params p = base;
        p.P30C[255] = 1;        // last field before the zero run
        QCOMPARE(U32_At(Block_Of(p), 0x7FC), baseSum + 1);
        p = base;
        p.P7F8 = 0x01010101;    // last field before the checksum
        QCOMPARE(U32_At(Block_Of(p), 0x7FC), baseSum + 4);
        p = base;
        p.P778[0] = 7;
        QCOMPARE(U32_At(Block_Of(p), 0x7FC), baseSum + 7);
        QCOMPARE(Block_Sum(reinterpret_cast<const std::uint8_t*>(Block_Of(p).constData())), baseSum + 7);
    }

    void tablesInOrder()
    {
        Image_Tables tables;
        tables.Read_Rows[0].Poll_Time = 0x11;
        tables.Write_Rows[0].Poll_Time = 0x22;
        tables.Write_Rows[511].Position = 0x3344;
        Image_Buffer buffer;
        QVERIFY(Write_Tables(tables, buffer));
        QCOMPARE(buffer.Image_Length, 20480u);
        QCOMPARE(int(buffer.Data()[0]), 0x11);
        QCOMPARE(int(buffer.Data()[0x2800]), 0x22);
        QCOMPARE(Bytes(buffer.Data() + 0x4FFE, 2), QByteArray::fromHex("4433"));
    }

    // Nothing is ever written past the buffer.
    void bufferBounds()
    {
        Image_Buffer buffer;
        const Device_Params p = Default_Params();
        QVERIFY(!Write_Param_Block(p, buffer, Buffer_Capacity - Block_Size + 1));
        QVERIFY(Write_Param_Block(p, buffer, Buffer_Capacity - Block_Size));
        QCOMPARE(buffer.Image_Length, 0u);

        buffer.Image_Length = Buffer_Capacity - 2 * Area_Size + 1;
        QVERIFY(!Write_Tables(Image_Tables{}, buffer));
        QCOMPARE(buffer.Image_Length, std::uint32_t(Buffer_Capacity - 2 * Area_Size + 1));
    }

    void initAndClear()
    {
        Device_Params p;
        p.Write_Count = 9;
        p.Station_Name[3] = 'x';
        Init_Params(p);
        QCOMPARE(p.Write_Count, 0u);
        QCOMPARE(p.Station_Name[3], std::uint8_t(0));
        QCOMPARE(p.KNX_Address, std::uint16_t(0));
        QCOMPARE(p.Read_Area_Address, 0u);   // set by Compile_ParGen

        Image_Tables tables;
        tables.Read_Rows[7].Length = 1;
        tables.Write_Rows[511].Flags = 2;
        Clear_Tables(tables);
        QVERIFY(tables.Read_Rows[7] == Image_Row{});
        QVERIFY(tables.Write_Rows[511] == Image_Row{});
    }
};

QTEST_GUILESS_MAIN(TestImageLayout)
#include "tst_layout.moc"
