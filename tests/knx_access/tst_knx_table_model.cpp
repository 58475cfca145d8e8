#include "knx_access/knx_access_file.h"
#include "knx_access/knx_table_model.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace lw;

class TestKNXTableModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modelIsConsistent()
    {
        KNX_Table_Model model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        Text_Table table = Fresh_KNX_Table();
        table.Set_Cell(1, Col_Source_Address, QStringLiteral("1.1.1"));
        model.Set_Table(table);
        QVERIFY(model.setData(model.Cell_Index(1, Col_Enable), Qt::Unchecked, Qt::CheckStateRole));
        QVERIFY(model.setData(model.Cell_Index(2, Col_Mnemonic), QStringLiteral("pump"), Qt::EditRole));
        model.Edit_Rows([](Text_Table& t) { t.Set_Cell(512, Col_Length, QStringLiteral("2")); });
    }

    void shape()
    {
        KNX_Table_Model model;
        QCOMPARE(model.rowCount(), 512);
        QCOMPARE(model.columnCount(), 17);
        QCOMPARE(model.data(model.Cell_Index(1, Col_Number)).toString(), QStringLiteral("1"));
        QCOMPARE(model.data(model.Cell_Index(512, Col_Number)).toString(), QStringLiteral("512"));
        QVERIFY(!(model.flags(model.Cell_Index(1, Col_Number)) & Qt::ItemIsEditable));
        QVERIFY(model.flags(model.Cell_Index(1, Col_Source_Address)) & Qt::ItemIsEditable);
        for (int c : KNX_Check_Columns) {
            const Qt::ItemFlags flags = model.flags(model.Cell_Index(1, c));
            QVERIFY(flags & Qt::ItemIsUserCheckable);
            QVERIFY(!(flags & Qt::ItemIsEditable));
        }
    }

    void headersFromLanguage()
    {
        ProgramState state;
        for (int i = 0; i < 1200; ++i)
            state.Lang_Strings.append(QStringLiteral("T%1").arg(i));
        KNX_Table_Model model;
        QSignalSpy spy(&model, &QAbstractItemModel::headerDataChanged);
        model.Set_Headers(state);
        QCOMPARE(spy.count(), 1);
        for (int c = 0; c < 17; ++c)
            QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), QStringLiteral("T%1").arg(KNX_Header_Index[c]));
    }

    void checkCells_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("toggled");
        QTest::newRow("Y") << "Y" << int(Qt::Checked) << "N";
        QTest::newRow("N") << "N" << int(Qt::Unchecked) << "Y";
        QTest::newRow("empty") << "" << int(Qt::Unchecked) << "Y";
        QTest::newRow("lower y") << "y" << int(Qt::Unchecked) << "Y";
        QTest::newRow("other") << "yes" << int(Qt::Unchecked) << "Y";
    }

    void checkCells()
    {
        QFETCH(QString, text);
        QFETCH(int, shown);
        QFETCH(QString, toggled);
        KNX_Table_Model model;
        model.Edit_Rows([&](Text_Table& t) { t.Set_Cell(7, Col_On_Timer, text); });
        const QModelIndex cell = model.Cell_Index(7, Col_On_Timer);
        QCOMPARE(model.data(cell, Qt::CheckStateRole).toInt(), shown);
        QCOMPARE(model.data(cell, Qt::EditRole).toString(), text);
        QVERIFY(!model.data(cell, Qt::DisplayRole).isValid());
        const auto next = shown == Qt::Checked ? Qt::Unchecked : Qt::Checked;
        QVERIFY(model.setData(cell, next, Qt::CheckStateRole));
        QCOMPARE(model.Table().Cell(7, Col_On_Timer), toggled);
        // Check cells take no text, text cells no check state, the number column nothing.
        QVERIFY(!model.setData(cell, QStringLiteral("Y"), Qt::EditRole));
        QVERIFY(!model.setData(model.Cell_Index(7, Col_APCI), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(!model.setData(model.Cell_Index(7, Col_Number), QStringLiteral("9"), Qt::EditRole));
        QCOMPARE(model.Table().Cell(7, Col_Number), QStringLiteral("7"));
    }

    void textCellsKeepTextAsTyped()
    {
        KNX_Table_Model model;
        const QModelIndex cell = model.Cell_Index(3, Col_Source_Address);
        QSignalSpy spy(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.setData(cell, QStringLiteral(" 1.1.1 "), Qt::EditRole));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(model.Table().Cell(3, Col_Source_Address), QStringLiteral(" 1.1.1 "));
        QCOMPARE(model.data(cell).toString(), QStringLiteral(" 1.1.1 "));
        QVERIFY(!model.data(cell, Qt::CheckStateRole).isValid());
    }
};

QTEST_GUILESS_MAIN(TestKNXTableModel)
#include "tst_knx_table_model.moc"
