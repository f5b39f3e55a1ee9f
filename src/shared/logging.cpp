// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "shared/logging.h"

namespace pelidora {

Q_LOGGING_CATEGORY(lcControl, "pelidora.control")

} // namespace pelidora
