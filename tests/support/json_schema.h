#pragma once

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <string>
#include <vector>

namespace test_support {

// Checks a JSON value against a schema of docs/cli-output.schema.json: the keywords that file
// uses (type, enum, required, properties, patternProperties, additionalProperties, items, $ref,
// allOf, format date and date-time). Each problem is one line of the answer.
class JsonSchema {
 public:
  explicit JsonSchema(const QJsonObject& root) : m_root(root) {}

  std::vector<std::string> Problems(const QJsonValue& value, const QString& definition) const {
    std::vector<std::string> problems;
    Check(value, m_root["$defs"].toObject()[definition].toObject(), "$", problems);
    return problems;
  }

 private:
  static bool HasType(const QJsonValue& v, const QString& type) {
    if (type == "integer")
      return v.isDouble() && v.toDouble() == static_cast<double>(static_cast<long long>(v.toDouble()));
    return (type == "number" && v.isDouble()) || (type == "string" && v.isString()) || (type == "null" && v.isNull()) ||
           (type == "array" && v.isArray()) || (type == "object" && v.isObject()) || (type == "boolean" && v.isBool());
  }

  void Check(const QJsonValue& v, const QJsonObject& s, const std::string& at, std::vector<std::string>& out) const {
    const auto fail = [&](const std::string& what) { out.push_back(at + ": " + what); };
    if (s.contains("$ref")) {
      Check(v, m_root["$defs"].toObject()[s["$ref"].toString().section('/', -1)].toObject(), at, out);
    }
    for (const QJsonValue& part : s["allOf"].toArray()) Check(v, part.toObject(), at, out);
    if (s.contains("type")) {
      const QJsonArray types = s["type"].isArray() ? s["type"].toArray() : QJsonArray{s["type"]};
      bool any = false;
      for (const QJsonValue& t : types) any = any || HasType(v, t.toString());
      if (!any)
        return fail("not of type " +
                    QJsonDocument(QJsonObject{{"t", s["type"]}}).toJson(QJsonDocument::Compact).toStdString());
    }
    if (s.contains("enum") && !s["enum"].toArray().contains(v)) fail("not one of the allowed values");
    if (v.isString() && s["format"] == "date-time" && !QDateTime::fromString(v.toString(), Qt::ISODate).isValid())
      fail("not an RFC 3339 time: " + v.toString().toStdString());
    if (v.isString() && s["format"] == "date" && !QDate::fromString(v.toString(), Qt::ISODate).isValid())
      fail("not a date: " + v.toString().toStdString());
    if (v.isArray()) {
      int i = 0;
      for (const QJsonValue& item : v.toArray())
        Check(item, s["items"].toObject(), at + "[" + std::to_string(i++) + "]", out);
    }
    if (!v.isObject()) return;
    const QJsonObject o = v.toObject();
    for (const QJsonValue& key : s["required"].toArray())
      if (!o.contains(key.toString())) fail("lacks " + key.toString().toStdString());
    const QJsonObject properties = s["properties"].toObject(), patterns = s["patternProperties"].toObject();
    for (auto it = o.begin(); it != o.end(); ++it) {
      const std::string key = at + "." + it.key().toStdString();
      bool known = properties.contains(it.key());
      if (known) Check(it.value(), properties[it.key()].toObject(), key, out);
      for (auto p = patterns.begin(); p != patterns.end(); ++p) {
        if (!QRegularExpression(p.key()).match(it.key()).hasMatch()) continue;
        known = true;
        Check(it.value(), p.value().toObject(), key, out);
      }
      if (!known && s["additionalProperties"] == QJsonValue(false))
        fail("has the unknown key " + it.key().toStdString());
    }
  }

  QJsonObject m_root;
};

}  // namespace test_support
