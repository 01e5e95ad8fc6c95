#include "core/serial/portprobe.h"

#include "core/serial/seriallink.h"

namespace PortProbe {

QList<int> startOrder()
{
    return {1, 2, 8, 4, 5, 6, 7, 3};
}

int openFirst(SerialLink &port, const QList<int> &order)
{
    for (const int number : order) {
        port.close();
        port.setPortNumber(number);
        port.open();
        if (port.isOpen())
            return number;
    }
    return 0;
}

} // namespace PortProbe
