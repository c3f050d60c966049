#pragma once

#include <cstdint>

#include "catalogue/WorkerArgs.h"

class UserList;

// Starts `thread` with new arguments for one picture job; the thread owns and deletes them.
// False, and the arguments gone, without a list or when no thread could be made.
bool StartPictureWorker(void (*thread)(WorkerArgs*), UserList* list, std::int32_t mode,
                        std::uint32_t user, std::uint32_t video);
