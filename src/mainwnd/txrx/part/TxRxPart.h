// The TX/RX part of the main window: the TX/RX window (249) and everything that keys the
// transmitter. The window's SetPtt and IsTransmitting come here, so the keyboard key, remote
// clients and every later caller key by the same route as the PTT button.
#pragma once

#include "MainWindowPart.h"
#include "TransmitTime.h"

std::unique_ptr<IMainWindowPart> MakeTxRxPart(IMainWindowServices& services);
// The same with the clock the transmit time counts by (tests run it by hand).
MainWindowPartFactory TxRxPartFactory(txrx::CTransmitTime::Clock clock);
