#pragma once

#include "files/JsonReader.h"
#include "model/COrder.h"
#include "model/CPlantData.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <string>

namespace kalkora::files {

// Master data and orders as JSON documents (UTF-8) whose keys are the member names of the
// records. Floats are written in the shortest form that reads back to the same float (negative
// zero as -0); non-finite ones as the strings "inf", "-inf" and "nan".

std::string masterDataToJson(const CPlantData& plantData);
std::string orderToJson(const COrder& order);

// The reverse. Derived keys (hoursPerYear, fixedRate, variableRate) are accepted and ignored, a
// missing key keeps the default of a new record. On an unknown key, a wrong type, a number
// out of range or a text that Windows-1252 cannot hold, the result is a German message that
// names the key, and the output object is left unchanged.
std::optional<QString> masterDataFromJson(const QJsonObject& json, CPlantData& plantData);
std::optional<QString> orderFromJson(const QJsonObject& json, COrder& order);

} // namespace kalkora::files
