// Building the information panel of a project with every fact set: the
// groups alone, and the whole view until its first paint.

#include "panels/info/InfoGroupBuilder.h"
#include "panels/info/LumivaneInfoPanelView.h"

#include "l10n/L10n.h"

#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {

LumivaneProject everyFactSet()
{
    LumivaneProject p;
    p.area = 185.5;
    p.capacity = 120;
    p.roomCount = 7;
    p.floors = 3;
    p.yearBuilt = 1928;
    p.internalReference = QStringLiteral("INT-4471");
    p.tags = QStringList{QStringLiteral("loft"), QStringLiteral("river view"), QStringLiteral("renovated")};
    p.freeNote = QStringLiteral("Bright flat on two levels with a terrace facing the river.\nQuiet street.");
    p.transactionType = TransactionType::sale;
    p.price = 1250000;
    p.monthlyRent = 3200;
    p.charges = 250;
    p.bedroomsCount = 4;
    p.bathroomsCount = 2;
    p.floorNumber = 5;
    p.balconyArea = 22.5;
    p.hasParking = p.hasCellar = p.hasElevator = p.hasPool = p.hasGarden = p.isFurnished = true;
    p.energyClass = EnergyClass::b;
    p.greenhouseClass = EnergyClass::c;
    p.mandateReference = QStringLiteral("M-2024-118");
    p.mandateType = MandateType::exclusive;
    p.collectionType = QStringLiteral("Impressionist paintings");
    p.historicalPeriod = QStringLiteral("Nineteenth century");
    p.targetAudience = QStringLiteral("Families and schools");
    p.accessibilityPMR = true;
    p.openingHours = QStringLiteral("Tuesday to Sunday, 10:00 to 18:00");
    p.entryPrice = QStringLiteral("12 € / free under 18");
    p.educationLevel = QStringLiteral("High school");
    p.studentCount = 1450;
    p.specializations = QStringLiteral("Sciences, literature, arts");
    p.buildingCount = 6;
    p.seatedCapacity = 300;
    p.standingCapacity = 800;
    p.audioVideoEquipment = QStringLiteral("Projector, sound system, stage lights");
    p.cateringAvailable = true;
    p.eventType = QStringLiteral("Weddings, seminars");
    p.dailyRentalPrice = 4500;
    for (int i = 0; i < 10; ++i)
        p.customFields.append({QUuid::createUuid(), QStringLiteral("Custom %1").arg(i),
                               i % 2 ? CustomFieldType::boolean : CustomFieldType::text, QStringLiteral("true")});
    return p;
}

void BM_InfoGroupsBuild(benchmark::State &state)
{
    L10n l10n(QStringList{QStringLiteral("fr")});
    const LumivaneProject project = everyFactSet();
    for (auto _ : state)
        benchmark::DoNotOptimize(buildInfoGroups(project, l10n));
}

void buildAndPaint(const LumivaneProject &project, L10n &l10n, QWidget &window)
{
    LumivaneInfoPanelView view(project, l10n, &window);
    view.resize(window.size());
    view.show();
    view.repaint();
}

// The first build of the process also loads the fonts, colour emoji included.
void BM_InfoPanelBuiltAndPainted(benchmark::State &state)
{
    L10n l10n(QStringList{QStringLiteral("fr")});
    const LumivaneProject project = everyFactSet();
    QWidget window;
    window.resize(1400, 900);
    window.show();
    QElapsedTimer first;
    first.start();
    buildAndPaint(project, l10n, window);
    state.counters["first_build_ms"] = double(first.nsecsElapsed()) / 1e6;
    for (auto _ : state)
        buildAndPaint(project, l10n, window);
}

} // namespace

BENCHMARK(BM_InfoGroupsBuild)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InfoPanelBuiltAndPainted)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
