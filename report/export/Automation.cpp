#include "report/export/Automation.h"

#include <algorithm>

namespace tormel {

namespace {

[[noreturn]] void TypeMismatch()
{
    throw AutomationError("Несовпадение типов.");
}

} // namespace

AutomationError::AutomationError(const std::string &text)
    : std::runtime_error(text)
{}

AutomationError::~AutomationError() = default;

IAutoObject::~IAutoObject() = default;
IAutomationServer::~IAutomationServer() = default;

// ---- AutoValue ----

AutoValue::AutoValue(int value)
    : m_type(AutoType::Int)
    , m_int(value)
{}

AutoValue::AutoValue(bool value)
    : m_type(AutoType::Bool)
    , m_bool(value)
{}

AutoValue::AutoValue(double value)
    : m_type(AutoType::Double)
    , m_double(value)
{}

AutoValue::AutoValue(std::string value)
    : m_type(AutoType::String)
    , m_string(std::move(value))
{}

AutoValue::AutoValue(const char *value)
    : AutoValue(std::string(value))
{}

AutoValue::AutoValue(std::shared_ptr<IAutoObject> object)
    : m_type(object ? AutoType::Object : AutoType::Empty)
    , m_object(std::move(object))
{}

AutoValue::AutoValue(AutoArray array)
    : m_type(AutoType::Array)
    , m_array(std::make_shared<const AutoArray>(std::move(array)))
{}

std::int32_t AutoValue::toInt() const
{
    switch (m_type) {
    case AutoType::Int:
        return m_int;
    case AutoType::Bool:
        return m_bool ? -1 : 0;
    case AutoType::Double:
        if (m_double >= -2147483648.0 && m_double <= 2147483647.0)
            return static_cast<std::int32_t>(m_double);
        break;
    default:
        break;
    }
    TypeMismatch();
}

bool AutoValue::toBool() const
{
    if (m_type == AutoType::Bool)
        return m_bool;
    if (m_type == AutoType::Int)
        return m_int != 0;
    TypeMismatch();
}

double AutoValue::toDouble() const
{
    if (m_type == AutoType::Double)
        return m_double;
    if (m_type == AutoType::Int)
        return m_int;
    TypeMismatch();
}

const std::string &AutoValue::toString() const
{
    if (m_type != AutoType::String)
        TypeMismatch();
    return m_string;
}

const std::shared_ptr<IAutoObject> &AutoValue::toObject() const
{
    if (m_type != AutoType::Object)
        throw AutomationError("Требуется объект.");
    return m_object;
}

const AutoArray &AutoValue::toArray() const
{
    if (m_type != AutoType::Array)
        TypeMismatch();
    return *m_array;
}

AutoValue AutoValue::call(std::string_view name, const std::vector<AutoValue> &args) const
{
    return toObject()->call(name, args);
}

AutoValue AutoValue::get(std::string_view name, const std::vector<AutoValue> &args) const
{
    return toObject()->get(name, args);
}

void AutoValue::put(std::string_view name, const AutoValue &value) const
{
    toObject()->put(name, value);
}

bool AutoValue::operator==(const AutoValue &other) const
{
    if (m_type != other.m_type)
        return false;
    switch (m_type) {
    case AutoType::Empty:
        return true;
    case AutoType::Int:
        return m_int == other.m_int;
    case AutoType::Bool:
        return m_bool == other.m_bool;
    case AutoType::Double:
        return m_double == other.m_double;
    case AutoType::String:
        return m_string == other.m_string;
    case AutoType::Object:
        return m_object == other.m_object;
    case AutoType::Array:
        return *m_array == *other.m_array;
    }
    return false;
}

// ---- AutoArray ----

AutoArray::AutoArray(int lower, int upper)
    : m_lower{lower}
    , m_count{std::max(0, upper - lower + 1)}
    , m_elements(static_cast<std::size_t>(m_count[0]))
{}

AutoArray::AutoArray(int lower1, int upper1, int lower2, int upper2)
    : m_lower{lower1, lower2}
    , m_count{std::max(0, upper1 - lower1 + 1), std::max(0, upper2 - lower2 + 1)}
    , m_elements(static_cast<std::size_t>(m_count[0]) * static_cast<std::size_t>(m_count[1]))
{}

int AutoArray::lowerBound(int dimension) const
{
    return m_lower.at(static_cast<std::size_t>(dimension - 1));
}

int AutoArray::upperBound(int dimension) const
{
    return lowerBound(dimension) + count(dimension) - 1;
}

int AutoArray::count(int dimension) const
{
    return m_count.at(static_cast<std::size_t>(dimension - 1));
}

std::size_t AutoArray::offset(int i) const
{
    if (dimensions() != 1 || i < m_lower[0] || i - m_lower[0] >= m_count[0])
        throw AutomationError("Индекс вне диапазона массива.");
    return static_cast<std::size_t>(i - m_lower[0]);
}

std::size_t AutoArray::offset(int i, int j) const
{
    if (dimensions() != 2 || i < m_lower[0] || i - m_lower[0] >= m_count[0] || j < m_lower[1]
        || j - m_lower[1] >= m_count[1])
        throw AutomationError("Индекс вне диапазона массива.");
    // The first index runs fastest, as in an automation array's memory.
    return static_cast<std::size_t>(i - m_lower[0])
           + static_cast<std::size_t>(j - m_lower[1]) * static_cast<std::size_t>(m_count[0]);
}

const AutoValue &AutoArray::at(int i) const
{
    return m_elements[offset(i)];
}

const AutoValue &AutoArray::at(int i, int j) const
{
    return m_elements[offset(i, j)];
}

void AutoArray::set(int i, AutoValue value)
{
    m_elements[offset(i)] = std::move(value);
}

void AutoArray::set(int i, int j, AutoValue value)
{
    m_elements[offset(i, j)] = std::move(value);
}

bool AutoArray::operator==(const AutoArray &other) const
{
    return m_lower == other.m_lower && m_count == other.m_count && m_elements == other.m_elements;
}

// ---- registry ----

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char &c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

bool SameMemberName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

AutomationRegistry::AutomationRegistry() = default;

AutomationRegistry::~AutomationRegistry()
{
    // The units' references are objects of the servers: release them first.
    m_unitReferences.clear();
    m_servers.clear();
}

void AutomationRegistry::registerServer(const std::string &progId,
                                        std::shared_ptr<IAutomationServer> server)
{
    m_servers[LowerAscii(progId)] = std::move(server);
}

std::shared_ptr<IAutomationServer> AutomationRegistry::server(std::string_view progId) const
{
    const auto it = m_servers.find(LowerAscii(progId));
    return it == m_servers.end() ? nullptr : it->second;
}

std::shared_ptr<IAutoObject> AutomationRegistry::getActiveObject(std::string_view progId)
{
    const auto found = server(progId);
    return found ? found->getActiveObject() : nullptr;
}

std::shared_ptr<IAutoObject> AutomationRegistry::createObject(std::string_view progId)
{
    const auto found = server(progId);
    if (!found)
        throw AutomationError("Недопустимая строка с указанием класса: " + std::string(progId));
    auto object = found->createObject();
    if (!object)
        throw AutomationError("Сервер автоматизации не создал объект: " + std::string(progId));
    return object;
}

std::shared_ptr<IAutoObject> &AutomationRegistry::unitReference(std::string_view unitName)
{
    auto it = m_unitReferences.find(unitName);
    if (it == m_unitReferences.end())
        it = m_unitReferences.emplace(std::string(unitName), nullptr).first;
    return it->second;
}

bool IsProgIdRegistered(const AutomationRegistry &registry, std::string_view progId)
{
    const auto found = registry.server(progId);
    return found && found->isRegistered();
}

} // namespace tormel
