#include "Report.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <stdexcept>

namespace bench {

namespace {

std::string number(double value, const std::string& unit) {
    char text[64];
    std::snprintf(text, sizeof text, value >= 100 ? "%.0f %s" : "%.3g %s", value, unit.c_str());
    return text;
}

std::string targetText(const Figure& figure) {
    if (!figure.hasTarget())
        return "report";
    char text[64];
    if (figure.hasRaw())
        std::snprintf(text, sizeof text, "<= %.3g x", figure.target);
    else
        std::snprintf(text, sizeof text, "<= %.3g %s", figure.target, figure.unit.c_str());
    return text;
}

} // namespace

void printTable(const std::vector<Figure>& figures) {
    std::printf("%-52s %14s %14s %8s %14s %s\n", "figure", "ours", "raw", "ratio", "target", "");
    for (const Figure& figure : figures) {
        char ratio[32] = "-";
        if (figure.hasRaw())
            std::snprintf(ratio, sizeof ratio, "%.2f", figure.ratio());
        std::printf("%-52s %14s %14s %8s %14s %s\n", figure.name.c_str(),
                    number(figure.ours, figure.unit).c_str(),
                    figure.hasRaw() ? number(figure.raw, figure.unit).c_str() : "-", ratio,
                    targetText(figure).c_str(), figure.met() ? "ok" : "MISSED");
    }
    std::fflush(stdout);
}

void writeJson(const std::vector<Figure>& figures, const std::string& path) {
    QJsonArray list;
    for (const Figure& figure : figures) {
        QJsonObject item{{"figure", QString::fromStdString(figure.name)},
                         {"unit", QString::fromStdString(figure.unit)},
                         {"ours", figure.ours},
                         {"samples", figure.samples},
                         {"met", figure.met()}};
        if (figure.hasRaw()) {
            item.insert("raw", figure.raw);
            item.insert("ratio", figure.ratio());
        }
        if (figure.hasTarget())
            item.insert(figure.hasRaw() ? "target_ratio" : "target", figure.target);
        list.append(item);
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(QJsonDocument(QJsonObject{{"figures", list}}).toJson()) < 0)
        throw std::runtime_error("cannot write " + path);
}

} // namespace bench
