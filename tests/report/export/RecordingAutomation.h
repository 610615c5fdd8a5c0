#pragma once

#include "report/export/Automation.h"

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace tormel::testing {

class RecordingServer;

// An automation object that writes every call into its server's log and answers
// with a new recording object, so a test sees exactly what an export asks for.
// Objects are named by the path that reached them ("App.WorkBooks.Add()"), or by
// a short alias that the test gives to such a path.
class RecordingObject : public IAutoObject
{
public:
    RecordingObject(RecordingServer &server, std::string label)
        : m_server(server)
        , m_label(std::move(label))
    {}

    const std::string &label() const { return m_label; }

    AutoValue call(std::string_view name, const std::vector<AutoValue> &args) override;
    AutoValue get(std::string_view name, const std::vector<AutoValue> &args) override;
    void put(std::string_view name, const AutoValue &value) override;

private:
    RecordingServer &m_server;
    std::string m_label;
};

// A recording automation server. Refuses the member named in `refuse` (as the
// export spells it) with `refusalText`.
class RecordingServer : public IAutomationServer
{
public:
    explicit RecordingServer(std::string rootLabel)
        : m_rootLabel(std::move(rootLabel))
    {}

    bool registered = true;
    bool running = false;     // getActiveObject finds a running object
    bool createFails = false; // createObject throws
    std::string refuse;
    std::string refusalText = "Сервер отказал";
    std::map<std::string, std::string> aliases;

    std::vector<std::string> log;
    // The arrays passed to the server, in order.
    std::vector<AutoArray> arrays;

    bool isRegistered() override { return registered; }

    std::shared_ptr<IAutoObject> getActiveObject() override
    {
        log.push_back("GetActiveObject");
        return running ? std::make_shared<RecordingObject>(*this, m_rootLabel) : nullptr;
    }

    std::shared_ptr<IAutoObject> createObject() override
    {
        log.push_back("CreateObject");
        if (createFails)
            throw AutomationError("Класс не зарегистрирован");
        return std::make_shared<RecordingObject>(*this, m_rootLabel);
    }

    std::string text(const AutoValue &value)
    {
        switch (value.type()) {
        case AutoType::Empty:
            return "empty";
        case AutoType::Int:
            return std::to_string(value.toInt());
        case AutoType::Bool:
            return value.toBool() ? "true" : "false";
        case AutoType::Double: {
            std::ostringstream out;
            out << value.toDouble();
            return out.str();
        }
        case AutoType::String:
            return "'" + value.toString() + "'";
        case AutoType::Object: {
            const auto *object = dynamic_cast<const RecordingObject *>(value.toObject().get());
            return object ? object->label() : "foreign object";
        }
        case AutoType::Array: {
            const AutoArray &array = value.toArray();
            arrays.push_back(array);
            std::string out = "array[";
            for (int d = 1; d <= array.dimensions(); ++d) {
                out += (d > 1 ? "," : "") + std::to_string(array.lowerBound(d)) + ".."
                       + std::to_string(array.upperBound(d));
            }
            return out + "]";
        }
        }
        return "?";
    }

    std::string argsText(const std::vector<AutoValue> &args)
    {
        std::string out;
        for (const AutoValue &arg : args)
            out += (out.empty() ? "" : ", ") + text(arg);
        return out;
    }

    std::string labelFor(const std::string &path) const
    {
        const auto it = aliases.find(path);
        return it == aliases.end() ? path : it->second;
    }

    void checkRefusal(std::string_view name)
    {
        if (name == refuse)
            throw AutomationError(refusalText);
    }

private:
    std::string m_rootLabel;
};

inline AutoValue RecordingObject::call(std::string_view name, const std::vector<AutoValue> &args)
{
    const std::string path
            = m_label + "." + std::string(name) + "(" + m_server.argsText(args) + ")";
    m_server.log.push_back("call " + path);
    m_server.checkRefusal(name);
    return AutoValue(std::make_shared<RecordingObject>(m_server, m_server.labelFor(path)));
}

inline AutoValue RecordingObject::get(std::string_view name, const std::vector<AutoValue> &args)
{
    std::string path = m_label + "." + std::string(name);
    if (!args.empty())
        path += "(" + m_server.argsText(args) + ")";
    m_server.log.push_back("get " + path);
    m_server.checkRefusal(name);
    return AutoValue(std::make_shared<RecordingObject>(m_server, m_server.labelFor(path)));
}

inline void RecordingObject::put(std::string_view name, const AutoValue &value)
{
    m_server.log.push_back("put " + m_label + "." + std::string(name)
                           + " := " + m_server.text(value));
    m_server.checkRefusal(name);
}

} // namespace tormel::testing
