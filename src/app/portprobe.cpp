#include "app/portprobe.h"

#include "app/serialportservice.h"

namespace PortProbe {

QList<int> startOrder()
{
    return {1, 2, 8, 4, 5, 6, 7, 3};
}

int openFirst(SerialPortService &port, const QList<int> &order)
{
    for (const int number : order) {
        port.setPortOpen(false);
        port.setCommPort(number);
        port.setPortOpen(true);
        if (port.PortOpen())
            return number;
    }
    return 0;
}

} // namespace PortProbe
