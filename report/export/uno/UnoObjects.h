#pragma once

#include "report/export/Automation.h"
#include "report/export/uno/UnoOffice.h"

#include <com/sun/star/beans/XExactName.hpp>
#include <com/sun/star/reflection/XIdlClass.hpp>
#include <com/sun/star/reflection/XIdlField2.hpp>
#include <com/sun/star/script/XInvocation2.hpp>

#include <map>
#include <memory>

namespace tormel::uno {

// An office object called late-bound by name through the office's Invocation
// service. Names are matched without regard to case: each is resolved to the
// object's own spelling first, because invoking a misspelt name ends the whole
// connection.
class UnoObject final : public IAutoObject
{
public:
    // `serviceManager` adds the member Bridge_GetStruct, which makes a struct by name.
    UnoObject(std::shared_ptr<OfficeConnection> connection,
              css::uno::Any object,
              bool serviceManager = false);
    ~UnoObject() override;

    const css::uno::Any &object() const { return m_object; }

    AutoValue call(std::string_view name, const std::vector<AutoValue> &args) override;
    AutoValue get(std::string_view name, const std::vector<AutoValue> &args) override;
    void put(std::string_view name, const AutoValue &value) override;

private:
    struct Member
    {
        OUString exactName;
        bool method = false;
        bool property = false;
    };

    const Member &member(std::string_view name);
    AutoValue invoke(const Member &found, const std::vector<AutoValue> &args);
    AutoValue getValue(const Member &found);
    AutoValue makeStruct(const std::vector<AutoValue> &args);
    void putOutline(const OUString &side, const css::uno::Any &line);

    std::shared_ptr<OfficeConnection> m_connection;
    css::uno::Any m_object;
    bool m_serviceManager;
    Reference<css::script::XInvocation2> m_invocation;
    Reference<css::beans::XExactName> m_exactName;
    std::map<std::string, Member> m_members;
};

// A UNO struct value (a border line, a table border) whose fields are read and
// written by name; it goes to the office by value when passed as an argument.
class UnoStruct final : public IAutoObject
{
public:
    UnoStruct(std::shared_ptr<OfficeConnection> connection,
              css::uno::Any value,
              Reference<css::reflection::XIdlClass> type);
    ~UnoStruct() override;

    const css::uno::Any &value() const { return m_value; }

    AutoValue call(std::string_view name, const std::vector<AutoValue> &args) override;
    AutoValue get(std::string_view name, const std::vector<AutoValue> &args) override;
    void put(std::string_view name, const AutoValue &value) override;

private:
    Reference<css::reflection::XIdlField2> field(std::string_view name) const;

    std::shared_ptr<OfficeConnection> m_connection;
    css::uno::Any m_value;
    Reference<css::reflection::XIdlClass> m_type;
};

// Automation values to UNO values and back. A two-dimensional array becomes a
// sequence of sequences whose outer index is the array's second index (the order
// in which the array lies in memory); a sequence comes back as a one-dimensional
// array from 0.
css::uno::Any ToAny(const AutoValue &value);
AutoValue FromAny(const std::shared_ptr<OfficeConnection> &connection, const css::uno::Any &value);

} // namespace tormel::uno
