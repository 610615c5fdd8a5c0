#pragma once

#include "protection/DeviceStatusLine.h"

#include <string>

namespace tormel {

// The main window's two status lines and the two result menu items, which the session
// writes after the calculation and the protection device check and the window only shows.
struct MainStatus
{
    std::string IokzLabel = "Введите исходные данные для расчета";
    std::string StatusDDLabel = "В расчете не определен";
    StatusColor StatusDDColor = StatusColor::Black;
    bool ResultMenuEnabled = false;
    bool AddReportMenuEnabled = false;

    // The two texts that every refused calculation and unknown scheme or kind leave.
    void setMissingData()
    {
        IokzLabel = "Не хватает данных для расчета!";
        StatusDDLabel = "Выполните расчет тока однофазного короткого замыкания";
    }

    void setDeviceLine(const TDeviceStatusLine &line)
    {
        StatusDDLabel = line.Text;
        if (line.Color)
            StatusDDColor = *line.Color;
    }
};

} // namespace tormel
