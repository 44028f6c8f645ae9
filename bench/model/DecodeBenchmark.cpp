// Times the whole decoding of a large project.json (our own parser,
// JsonTree, then the records) and our parser alone against Qt's
// QJsonDocument parse of the same bytes, and prints their ratios.

#include "model/JsonTree.h"
#include "model/LumivaneProject.h"

#include <benchmark/benchmark.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QUuid>

#include <iostream>
#include <map>

namespace {

constexpr int stationCount = 500;
constexpr int hotspotsPerStation = 20;
constexpr qsizetype embeddedBase64Bytes = 5 * 1024 * 1024;

QString uuidText(QRandomGenerator &random)
{
    const QUuid uuid(random.generate(), quint16(random.generate()), quint16(random.generate()),
                     uchar(random.generate()), uchar(random.generate()), uchar(random.generate()),
                     uchar(random.generate()), uchar(random.generate()), uchar(random.generate()),
                     uchar(random.generate()), uchar(random.generate()));
    return uuid.toString(QUuid::WithoutBraces).toUpper();
}

// Random bytes whose base64 text is `base64Size` characters long.
QString base64Payload(QRandomGenerator &random, qsizetype base64Size)
{
    QByteArray bytes(base64Size / 4 * 3, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random.generate());
    return QString::fromLatin1(bytes.toBase64());
}

QJsonObject hotspot(QRandomGenerator &random, const QStringList &stationIds, int index)
{
    QJsonObject object{{"id", uuidText(random)},
                       {"yaw", random.generateDouble() * 6.28},
                       {"pitch", random.generateDouble() - 0.5},
                       {"targetStationID", stationIds[random.bounded(int(stationIds.size()))]},
                       {"isPending", false}};
    if (index % 4 == 0) {
        object["kind"] = "info";
        object["infoTitle"] = "Cheminée d'époque";
        object["infoDescription"] = "Marbre de Carrare, restaurée en 2019.";
        object["infoTitleTranslations"] = QJsonObject{{"en", "Period fireplace"}};
        object["attachments"] = QJsonArray{
            QJsonObject{{"id", uuidText(random)}, {"kind", "pdf"}, {"title", "Devis"}, {"payload", "devis.pdf"}},
            QJsonObject{{"id", uuidText(random)}, {"kind", "link"}, {"title", "Site"},
                        {"payload", "https://example.org"}}};
    } else {
        object["kind"] = "navigation";
        object["label"] = "Vers la cuisine";
    }
    return object;
}

QByteArray generateProjectJson()
{
    QRandomGenerator random(20261207);
    QStringList stationIds;
    for (int i = 0; i < stationCount; ++i)
        stationIds.append(uuidText(random));

    QJsonArray stations;
    for (int i = 0; i < stationCount; ++i) {
        QJsonArray hotspots;
        for (int h = 0; h < hotspotsPerStation; ++h)
            hotspots.append(hotspot(random, stationIds, h));
        stations.append(QJsonObject{
            {"id", stationIds[i]}, {"name", QStringLiteral("Pièce %1").arg(i)},
            {"photoFilename", stationIds[i] + ".jpg"}, {"orderIndex", i}, {"level", i % 2 ? "Étage" : "RDC"},
            {"captureDate", "2026-03-01T10:15:00Z"}, {"width", 8192}, {"height", 4096},
            {"floorplanX", 0.25}, {"floorplanY", 0.75}, {"initialYaw", 0.5}, {"initialPitch", 0.0},
            {"publicCaption", "Vue dégagée sur le jardin"},
            {"nameTranslations", QJsonObject{{"en", QStringLiteral("Room %1").arg(i)}}},
            {"hotspots", hotspots}});
    }

    QJsonObject project{{"id", uuidText(random)}, {"name", "Domaine des Tilleuls"},
                        {"createdAt", "2026-01-10T08:00:00Z"}, {"updatedAt", "2026-03-01T10:15:00+01:00"},
                        {"category", "residential"}, {"renderMode", "immersive"}, {"status", "ready"},
                        {"area", 420.5}, {"roomCount", 12}, {"tags", QJsonArray{"calme", "parc"}},
                        {"transactionType", "sale"}, {"price", 1250000}, {"energyClass", "C"},
                        {"stations", stations}, {"startingStationID", stationIds[3]},
                        {"kioskEnabled", true}, {"kioskStationDuration", 40}};
    project["coverLogoData"] = base64Payload(random, embeddedBase64Bytes / 5);
    project["ambientSoundData"] = base64Payload(random, embeddedBase64Bytes * 2 / 5);
    project["floorplansByLevel"] = QJsonObject{{"RDC", base64Payload(random, embeddedBase64Bytes / 5)},
                                               {"Étage", base64Payload(random, embeddedBase64Bytes / 5)}};
    return QJsonDocument(project).toJson(QJsonDocument::Compact);
}

const QByteArray &projectJson()
{
    static const QByteArray json = generateProjectJson();
    return json;
}

void BM_BareParse(benchmark::State &state)
{
    const QByteArray &json = projectJson();
    for (auto _ : state) {
        QJsonDocument document = QJsonDocument::fromJson(json);
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(state.iterations() * json.size());
}
BENCHMARK(BM_BareParse)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_JsonTreeParse(benchmark::State &state)
{
    const QByteArray &json = projectJson();
    for (auto _ : state) {
        std::optional<JsonTree> tree = JsonTree::parse(json);
        if (!tree) {
            state.SkipWithError("the generated project did not parse");
            break;
        }
        benchmark::DoNotOptimize(tree);
    }
    state.SetBytesProcessed(state.iterations() * json.size());
}
BENCHMARK(BM_JsonTreeParse)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ProjectDecode(benchmark::State &state)
{
    const QByteArray &json = projectJson();
    for (auto _ : state) {
        std::optional<LumivaneProject> project = LumivaneProject::fromJson(json);
        if (!project || project->stations.size() != stationCount) {
            state.SkipWithError("the generated project did not decode");
            break;
        }
        benchmark::DoNotOptimize(project);
    }
    state.SetBytesProcessed(state.iterations() * json.size());
}
BENCHMARK(BM_ProjectDecode)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Remembers the mean real time of each benchmark to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                m_seconds[run.run_name.function_name] = run.real_accumulated_time / double(run.iterations);
        }
    }

    void printRatios() const
    {
        const auto qtParse = m_seconds.find("BM_BareParse");
        const auto ourParse = m_seconds.find("BM_JsonTreeParse");
        const auto decode = m_seconds.find("BM_ProjectDecode");
        if (qtParse == m_seconds.end() || ourParse == m_seconds.end() || decode == m_seconds.end())
            return;
        std::cout << "project.json: " << projectJson().size() / (1024.0 * 1024.0) << " MB, " << stationCount
                  << " stations x " << hotspotsPerStation << " hotspots\n"
                  << "our parser (JsonTree) alone / QJsonDocument parse: " << ourParse->second / qtParse->second
                  << "\n"
                  << "whole decode (JsonTree and the records) / QJsonDocument parse: "
                  << decode->second / qtParse->second << " (target <= 1.5)\n";
    }

private:
    std::map<std::string, double> m_seconds;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    projectJson();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
