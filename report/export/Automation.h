#pragma once

// The automation layer of the spreadsheet export: automation values, objects that
// are called late-bound by member name, the servers that create them and the
// registry of servers by ProgID. The exports use nothing else to reach a
// spreadsheet program.

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tormel {

class IAutoObject;
class AutoArray;

// A call that the automation server refused; what() is the server's own text.
class AutomationError : public std::runtime_error
{
public:
    explicit AutomationError(const std::string &text);
    ~AutomationError() override;
};

// The error box text for a failure that came without a text of its own.
inline constexpr const char *UnknownAutomationError = "Ошибка сервера автоматизации.";

enum class AutoType { Empty, Int, Bool, Double, String, Object, Array };

// An automation value: empty, a 32-bit integer, a boolean, a real number, a
// string (UTF-8), an object reference or an array of automation values.
class AutoValue
{
public:
    AutoValue() = default;
    AutoValue(int value);
    AutoValue(bool value);
    AutoValue(double value);
    AutoValue(std::string value);
    AutoValue(const char *value);
    AutoValue(std::shared_ptr<IAutoObject> object);
    AutoValue(AutoArray array);

    AutoType type() const { return m_type; }
    bool isEmpty() const { return m_type == AutoType::Empty; }

    // The value as the given type; AutomationError ("type mismatch") otherwise.
    // toInt and toDouble accept any number, toBool also an integer (non-zero is true).
    std::int32_t toInt() const;
    bool toBool() const;
    double toDouble() const;
    const std::string &toString() const;
    const std::shared_ptr<IAutoObject> &toObject() const;
    const AutoArray &toArray() const;

    // Late-bound calls on the object this value holds (AutomationError when it
    // holds none): the export reads like a chain of member accesses.
    AutoValue call(std::string_view name, const std::vector<AutoValue> &args = {}) const;
    AutoValue get(std::string_view name, const std::vector<AutoValue> &args = {}) const;
    void put(std::string_view name, const AutoValue &value) const;

    // Equal type and equal contents; objects compare by identity.
    bool operator==(const AutoValue &other) const;

private:
    AutoType m_type = AutoType::Empty;
    std::int32_t m_int = 0;
    bool m_bool = false;
    double m_double = 0.0;
    std::string m_string;
    std::shared_ptr<IAutoObject> m_object;
    std::shared_ptr<const AutoArray> m_array;
};

// An array of automation values with one or two dimensions, each with its own
// lower bound. Elements are addressed by their indices, not by storage order.
class AutoArray
{
public:
    // One dimension from lower to upper (upper = lower - 1 gives an empty array).
    AutoArray(int lower, int upper);
    // Two dimensions [lower1..upper1, lower2..upper2].
    AutoArray(int lower1, int upper1, int lower2, int upper2);

    int dimensions() const { return static_cast<int>(m_lower.size()); }
    int lowerBound(int dimension) const;
    int upperBound(int dimension) const;
    int count(int dimension) const;
    int size() const { return static_cast<int>(m_elements.size()); }

    // Elements by index; an index outside the bounds throws AutomationError.
    const AutoValue &at(int i) const;
    const AutoValue &at(int i, int j) const;
    void set(int i, AutoValue value);
    void set(int i, int j, AutoValue value);

    bool operator==(const AutoArray &other) const;

private:
    std::size_t offset(int i) const;
    std::size_t offset(int i, int j) const;

    std::vector<int> m_lower;
    std::vector<int> m_count;
    std::vector<AutoValue> m_elements;
};

// An automation object, called late-bound by member name. Member names match
// without regard to case. A refused call throws AutomationError with the server's
// text.
class IAutoObject
{
public:
    virtual ~IAutoObject();

    // Method call.
    virtual AutoValue call(std::string_view name, const std::vector<AutoValue> &args) = 0;
    // Property get, with arguments for indexed properties (Cells(1, 1), WorkSheets(1)).
    virtual AutoValue get(std::string_view name, const std::vector<AutoValue> &args) = 0;
    // Property put.
    virtual void put(std::string_view name, const AutoValue &value) = 0;
};

// The automation server registered under one ProgID.
class IAutomationServer
{
public:
    virtual ~IAutomationServer();

    // True when the server can be asked for objects at all (the program is installed).
    virtual bool isRegistered() = 0;
    // The server's running object, or null when none is running.
    virtual std::shared_ptr<IAutoObject> getActiveObject() = 0;
    // A new object; AutomationError when the server cannot be reached.
    virtual std::shared_ptr<IAutoObject> createObject() = 0;
};

// The servers by ProgID (matched without regard to case, like a class registry),
// and the references that the export units keep between calls. The desktop program
// owns one registry for the whole run; tests build their own. The registry is
// destroyed before the program ends, so nothing of a server outlives it.
class AutomationRegistry
{
public:
    AutomationRegistry();
    ~AutomationRegistry();
    AutomationRegistry(const AutomationRegistry &) = delete;
    AutomationRegistry &operator=(const AutomationRegistry &) = delete;

    void registerServer(const std::string &progId, std::shared_ptr<IAutomationServer> server);
    // The server under the ProgID, or null.
    std::shared_ptr<IAutomationServer> server(std::string_view progId) const;

    // The running object of the ProgID's server, or null (also for an unknown ProgID).
    std::shared_ptr<IAutoObject> getActiveObject(std::string_view progId);
    // A new object of the ProgID's server; AutomationError when there is no such
    // server or it cannot be reached.
    std::shared_ptr<IAutoObject> createObject(std::string_view progId);

    // A unit-level reference kept between exports (empty at first). Released with
    // the registry, before its servers.
    std::shared_ptr<IAutoObject> &unitReference(std::string_view unitName);

private:
    std::map<std::string, std::shared_ptr<IAutomationServer>> m_servers;
    std::map<std::string, std::shared_ptr<IAutoObject>, std::less<>> m_unitReferences;
};

// True when a server is registered under the ProgID and reports itself installed.
bool IsProgIdRegistered(const AutomationRegistry &registry, std::string_view progId);

// The member-name comparison that every server uses: ASCII letters without regard to case.
bool SameMemberName(std::string_view a, std::string_view b);
std::string LowerAscii(std::string_view text);

} // namespace tormel
