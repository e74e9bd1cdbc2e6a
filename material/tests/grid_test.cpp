// Drives the real property grid (a QTableWidget) on the offscreen platform.
#include <QTableWidget>
#include <QtTest>
#include <memory>
#include <optional>
#include <string>

#include "PropertyGrid.h"
#include "data/Material.h"
#include "data/ModelCatalogue.h"
#include "data/NumberParser.h"
#include "data/Text.h"

using material::PropertyGrid;
using material::clsMaterial;

namespace {

constexpr int kIps = 0, kSi = 1, kMks = 2;

class FakeHost final : public material::FlexGridHost {
  public:
    const clsMaterial* CurrentMaterial() const override { return material; }
    int UnitListPosition() const override { return position; }
    const material::NumberParser& Numbers() const override { return numbers; }

    const clsMaterial* material = nullptr;
    int position = kSi;
    material::NumberParser numbers{"."};
};

// A window's grid as the window builds it: a new PropertyGrid for every refresh, with the
// captions of the unit list position shown.
struct Window {
    FakeHost host;
    QTableWidget table;
    std::unique_ptr<PropertyGrid> grid;

    void Show(int modelType, int position) {
        host.position = position;
        grid = std::make_unique<PropertyGrid>(host, material::WindowUnitCaptions(position));
        grid->UpdateProperty(table, modelType);
    }
    QString Text(int col, int row) { return grid->GetCellText(col, row); }
    QString Trimmed(int col, int row) { return Text(col, row).trimmed(); }
    // The grid row whose "Property" cell shows `code`; -1 if none.
    int RowOf(const QString& code) {
        for (int r = 1; r < grid->Rows(); ++r) {
            if (Trimmed(0, r) == code) {
                return r;
            }
        }
        return -1;
    }
    QString UnitOf(const QString& code) { return Text(3, RowOf(code)); }
    QString ValueOf(const QString& code) { return Text(2, RowOf(code)); }
};

clsMaterial MaterialWith(std::initializer_list<std::pair<const char*, double>> values) {
    clsMaterial m;
    for (const auto& [code, value] : values) {
        m.CopyProperty(code, value);
    }
    return m;
}

}  // namespace

class GridTest : public QObject {
    Q_OBJECT

  private slots:
    void headingsAndColumns();
    void rowLayoutPerModelType_data();
    void rowLayoutPerModelType();
    void unitColumnFollowsTheCaptions_data();
    void unitColumnFollowsTheCaptions();
    void rowsTakeTheirCaption_data();
    void rowsTakeTheirCaption();
    void drucker_PragerAnglesAndCohesion();
    void viscoelasticSpecials();
    void mcRowsShowTheirValues();
    void valuesInEachUnitSystem_data();
    void valuesInEachUnitSystem();
    void missingValuesAndNoMaterial();
    void showingDoesNotChangeTheRecord();
    void getCellTextMovesTheCurrentCell();
    void cellRewritesNumbersInTheUserForm_data();
    void cellRewritesNumbersInTheUserForm();
    void cellSizesItsColumn();
    void onlyTheValueColumnIsEditable();
};

void GridTest::headingsAndColumns() {
    Window w;
    w.Show(0, kSi);
    QCOMPARE(w.table.columnCount(), 4);
    const QStringList headings = {"Property", "Description", "Value", "Units"};
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(w.Text(c, 0), headings[c]);
    }
}

void GridTest::rowLayoutPerModelType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("0 isotropic") << 0 << 11 << "EX"
                                 << "C (Cp)";
    QTest::newRow("1 orthotropic") << 1 << 21 << "EX"
                                   << "C (Cp)";
    QTest::newRow("2 anisotropic") << 2 << 23 << "MC11"
                                   << "DENS";
    QTest::newRow("3 nonlinear") << 3 << 4 << "NUXY"
                                 << "DENS";
    QTest::newRow("4 von Mises kin") << 4 << 7 << "EX"
                                     << "DENS";
    QTest::newRow("7 Tresca iso") << 7 << 7 << "EX"
                                  << "DENS";
    QTest::newRow("8 Drucker Prager") << 8 << 6 << "EX"
                                      << "DENS";
    QTest::newRow("9 Mooney Rivlin") << 9 << 9 << "NUXY"
                                     << "DENS";
    QTest::newRow("10 Ogden") << 10 << 11 << "NUXY"
                              << "DENS";
    QTest::newRow("11 Blatz Ko") << 11 << 3 << "EX"
                                 << "DENS";
    QTest::newRow("12 viscoelastic") << 12 << 40 << "EX"
                                     << "DENS";
    QTest::newRow("13 unknown") << 13 << 7 << "EX"
                                << "DENS";
    QTest::newRow("-1 none selected") << -1 << 7 << "EX"
                                      << "DENS";
}

void GridTest::rowLayoutPerModelType() {
    QFETCH(int, type);
    QFETCH(int, rows);
    QFETCH(QString, first);
    QFETCH(QString, last);
    Window w;
    w.Show(type, kSi);
    QCOMPARE(w.grid->Rows(), rows);
    QCOMPARE(w.table.rowCount(), rows - 1);
    QCOMPARE(w.Trimmed(0, 1), first);
    QCOMPARE(w.Trimmed(0, rows - 1), last);
    // Each row's code is the slot the record's Map files an entry of that row under.
    const int layout = type >= 0 && type <= 12 ? type : 4;
    for (int r = 1; r < rows; ++r) {
        const auto slot = material::ResolveRow(layout, r);
        QCOMPARE(w.Trimmed(0, r), QString::fromStdString(material::Slots().SlotCode[slot]));
    }
}

void GridTest::unitColumnFollowsTheCaptions_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("units");
    QTest::newRow("0 IPS") << 0 << kIps
                           << QStringList{"psi", "",    "psi",         "lb/in^3",    "psi",
                                          "psi", "psi", "/Fahrenheit", "BTU/in.s.F", "BTU/lb.F"};
    QTest::newRow("0 MKS") << 0 << kMks
                           << QStringList{"Kgf/cm^2",   "",         "Kgf/cm^2", "Kg/cm^3",
                                          "Kgf/cm^2",   "Kgf/cm^2", "Kgf/cm^2", "/Centigrade",
                                          "Cal/cm.s.C", "Cal/kg.C"};
}

// Captions named after their place U0-U11 show which caption each row takes.
void GridTest::rowsTakeTheirCaption_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("units");
    QTest::newRow("0") << 0
                       << QStringList{"U0", "U1", "U10", "U4", "U7", "U11", "U8", "U3", "U5", "U6"};
    QTest::newRow("1") << 1 << QStringList{"U0",  "U0",  "U0", "U1", "U1",  "U1", "U10",
                                           "U10", "U10", "U4", "U7", "U11", "U8", "U3",
                                           "U3",  "U3",  "U5", "U5", "U5",  "U6"};
    QTest::newRow("3") << 3 << QStringList{"U1", "U3", "U4"};
    QTest::newRow("5") << 5 << QStringList{"U0", "U1", "U8", "U0", "U3", "U4"};
    QTest::newRow("8") << 8 << QStringList{"U0", "U1", "U0", "Degrees", "U4"};
    QTest::newRow("9") << 9 << QStringList{"", "U0", "U0", "U0", "U0", "U0", "U0", "U4"};
    QTest::newRow("10") << 10 << QStringList{"", "", "", "", "", "U0", "U0", "U0", "U0", "U4"};
    QTest::newRow("11") << 11 << QStringList{"U0", "U4"};
}

void GridTest::rowsTakeTheirCaption() {
    QFETCH(int, type);
    QFETCH(QStringList, units);
    Window w;
    material::UnitCaptions captions;
    for (int u = 0; u < material::kUnitCaptionCount; ++u) {
        captions[static_cast<std::size_t>(u)] = "U" + std::to_string(u);
    }
    w.grid = std::make_unique<PropertyGrid>(w.host, captions);
    w.grid->UpdateProperty(w.table, type);
    QCOMPARE(w.grid->Rows(), units.size() + 1);
    for (int r = 1; r < w.grid->Rows(); ++r) {
        QCOMPARE(w.Text(3, r), units[r - 1]);
    }
}

void GridTest::unitColumnFollowsTheCaptions() {
    QFETCH(int, type);
    QFETCH(int, position);
    QFETCH(QStringList, units);
    Window w;
    w.Show(type, position);
    QCOMPARE(w.grid->Rows(), units.size() + 1);
    for (int r = 1; r < w.grid->Rows(); ++r) {
        QCOMPARE(w.Trimmed(3, r), units[r - 1]);
    }
}

void GridTest::drucker_PragerAnglesAndCohesion() {
    const QStringList stress = {"psi", "N/m^2", "Kgf/cm^2"};
    for (int position : {kIps, kSi, kMks}) {
        Window w;
        w.Show(8, position);
        QCOMPARE(w.UnitOf("FRCANG"), QString("Degrees"));
        QCOMPARE(w.UnitOf("COHESN").trimmed(), stress[position]);
        QCOMPARE(w.UnitOf("COHESN"), w.UnitOf("EX"));
    }
}

void GridTest::viscoelasticSpecials() {
    const QStringList temperature = {"Fahrenheit", "Kelvin", "Celsius"};
    for (int position : {kIps, kSi, kMks}) {
        Window w;
        w.Show(12, position);
        QCOMPARE(w.RowOf("REFTEMP"), 36);
        QCOMPARE(w.Text(1, 36), QString("Glass transition temperature"));
        QCOMPARE(w.Text(3, 36), temperature[position]);
    }
    Window w;
    const clsMaterial m = MaterialWith({{"G3", 1.5e8}, {"TAUK8", 2.0}});
    w.host.material = &m;
    w.Show(12, kSi);
    const struct {
        int row;
        const char* code;
        const char* description;
    } grouped[] = {
        {4, "G1", "Shear Relaxation modulus"},
        {19, "TAUG8", "Time values (Shear Relaxation modulus)"},
        {20, "K1", "Bulk Relaxation"},
        {35, "TAUK8", "Time values"},
        {37, "VC1", "First constant for Williams-Landel-Ferry eq."},
        {38, "VC2", "Second constant for Williams-Landel-Ferry eq."},
    };
    for (const auto& g : grouped) {
        QCOMPARE(w.Trimmed(0, g.row), QString(g.code));
        QCOMPARE(w.Text(1, g.row), QString(g.description));
        QCOMPARE(w.Trimmed(3, g.row), QString());  // the record's blank label
    }
    QCOMPARE(w.ValueOf("G3"), QString("150000000"));
    QCOMPARE(w.ValueOf("TAUK8"), QString("2"));
}

void GridTest::mcRowsShowTheirValues() {
    // MC25 and MC26 sit on either side of the change in padding width.
    const clsMaterial m =
        MaterialWith({{"MC11", 1.0}, {"MC25", 2.5}, {"MC26", 2.6}, {"MC66", 6.6}, {"DENS", 7850}});
    Window w;
    w.host.material = &m;
    w.Show(2, kSi);
    QCOMPARE(w.Text(2, 1), QString("1"));
    QCOMPARE(w.Trimmed(0, 10), QString("MC25"));
    QCOMPARE(w.Text(2, 10), QString("2.5"));
    QCOMPARE(w.Text(2, 11), QString("2.6"));
    QCOMPARE(w.Text(2, 21), QString("6.6"));
    QCOMPARE(w.Text(1, 21), QString("Material Matrix (6:6)"));
    QCOMPARE(w.Text(2, 22), QString("7850"));
    QCOMPARE(w.Text(2, 2), QString());
}

void GridTest::valuesInEachUnitSystem_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("ex");
    QTest::addColumn<QString>("nuxy");
    QTest::addColumn<QString>("dens");
    // 6893.5773 N/m^2 is one psi, 0.0702949 Kgf/cm^2; Poisson's ratio never converts.
    QTest::newRow("IPS") << kIps << "1"
                         << "0.3"
                         << "0.283599";
    QTest::newRow("SI") << kSi << "6893.577"
                        << "0.3"
                        << "7850";
    QTest::newRow("MKS") << kMks << "0.0702949"
                         << "0.3"
                         << "0.00785";
}

void GridTest::valuesInEachUnitSystem() {
    QFETCH(int, position);
    QFETCH(QString, ex);
    QFETCH(QString, nuxy);
    QFETCH(QString, dens);
    const clsMaterial m = MaterialWith({{"EX", 6893.5773}, {"NUXY", 0.3}, {"DENS", 7850}});
    Window w;
    w.host.material = &m;
    w.Show(0, position);
    QCOMPARE(w.ValueOf("EX"), ex);
    QCOMPARE(w.ValueOf("NUXY"), nuxy);
    QCOMPARE(w.ValueOf("DENS"), dens);
}

void GridTest::missingValuesAndNoMaterial() {
    const clsMaterial m = MaterialWith({{"EX", 2e11}});
    Window w;
    w.host.material = &m;
    w.Show(0, kSi);
    QCOMPARE(w.ValueOf("EX"), QString("200000000000"));
    QCOMPARE(w.ValueOf("GXY"), QString());

    // A negative type position shows the rows but no values.
    w.Show(-1, kSi);
    QCOMPARE(w.ValueOf("EX"), QString());
    QCOMPARE(w.UnitOf("EX").trimmed(), QString("N/m^2"));

    // Without a material every value is empty and the units stay.
    w.host.material = nullptr;
    w.Show(0, kIps);
    for (int r = 1; r < w.grid->Rows(); ++r) {
        QCOMPARE(w.Text(2, r), QString());
    }
    QCOMPARE(w.UnitOf("EX").trimmed(), QString("psi"));
}

void GridTest::showingDoesNotChangeTheRecord() {
    clsMaterial m = MaterialWith({{"EX", 2e11}, {"DENS", 7850}});
    m.setProperty("EX");
    Window w;
    w.host.material = &m;
    w.Show(0, kIps);
    QCOMPARE(m.Property(), std::string("EX        "));
    QCOMPARE(m.value(), 2e11);
    QCOMPARE(m.UnitSystem(), std::string());
}

void GridTest::getCellTextMovesTheCurrentCell() {
    Window w;
    w.Show(0, kSi);
    QCOMPARE(w.grid->GetCellText(1, 4), QString("Mass Density"));
    QCOMPARE(w.table.currentColumn(), 1);
    QCOMPARE(PropertyGrid::GridRow(w.table.currentRow()), 4);
    QCOMPARE(w.grid->GetCellText(0, 10), QString("C (Cp)"));
    QCOMPARE(PropertyGrid::GridRow(w.table.currentRow()), 10);

    // Cells outside the grid read empty and take no text.
    for (const auto& [col, row] : {std::pair{4, 1}, {-1, 1}, {2, 11}, {2, -1}}) {
        QCOMPARE(w.grid->GetCellText(col, row), QString());
        w.grid->Cell(col, row, "1");
    }
    QCOMPARE(w.table.rowCount(), 10);
    QCOMPARE(w.table.columnCount(), 4);
}

void GridTest::cellRewritesNumbersInTheUserForm_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("comma value") << "," << 2 << 1 << "1,5"
                                 << "1,5";
    QTest::newRow("comma padded") << "," << 2 << 3 << "  2,50 "
                                  << "2,5";
    QTest::newRow("comma record form") << "," << 2 << 1 << "-35000E-4 "
                                       << "-3,5";
    QTest::newRow("comma small") << "," << 2 << 2 << "0,000012"
                                 << "1,2E-05";
    QTest::newRow("comma not a number") << "," << 2 << 1 << "abc"
                                        << "abc";
    QTest::newRow("comma code column") << "," << 0 << 1 << "1,5"
                                       << "1,5";
    QTest::newRow("comma description") << "," << 1 << 1 << "1,50"
                                       << "1,50";
    QTest::newRow("comma units column") << "," << 3 << 1 << "1,50"
                                        << "1,50";
    QTest::newRow("heading row") << "," << 2 << 0 << "1,50"
                                 << "1,50";
    QTest::newRow("dot value") << "." << 2 << 1 << "1.50"
                               << "1.5";
    QTest::newRow("dot large") << "." << 2 << 1 << "21000E7"
                               << "210000000000";
    QTest::newRow("dot leaves comma text") << "." << 2 << 1 << "1,5"
                                           << "1,5";
}

void GridTest::cellRewritesNumbersInTheUserForm() {
    QFETCH(QString, separator);
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    Window w;
    w.host.numbers = material::NumberParser(separator.toStdString());
    w.Show(0, kSi);
    w.grid->Cell(col, row, text);
    QCOMPARE(w.grid->GetCellText(col, row), shown);
}

void GridTest::cellSizesItsColumn() {
    Window w;
    w.Show(3, kSi);
    const int before = w.table.columnWidth(0);
    w.grid->Cell(0, 2, QString(60, QChar('W')));
    QVERIFY(w.table.columnWidth(0) > before);
}

void GridTest::onlyTheValueColumnIsEditable() {
    const clsMaterial m = MaterialWith({{"EX", 2e11}});
    Window w;
    w.host.material = &m;
    w.Show(12, kSi);
    for (int r = 0; r < w.table.rowCount(); ++r) {
        for (int c = 0; c < 4; ++c) {
            const bool editable = w.table.item(r, c)->flags().testFlag(Qt::ItemIsEditable);
            QCOMPARE(editable, c == 2);
        }
    }
}

QTEST_MAIN(GridTest)
#include "grid_test.moc"
