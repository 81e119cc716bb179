#pragma once
// Interface pointers are owned by ComPtr; nothing calls Release by hand.

#include <wrl/client.h>

namespace com {
using Microsoft::WRL::ComPtr;
}
