// Kernel services: the command line and paths, threads and priorities, clocks, process exit.
#pragma once

#include "platform/win32/types.h"

#define NORMAL_PRIORITY_CLASS 0x00000020
#define IDLE_PRIORITY_CLASS 0x00000040
#define HIGH_PRIORITY_CLASS 0x00000080
#define REALTIME_PRIORITY_CLASS 0x00000100
#define BELOW_NORMAL_PRIORITY_CLASS 0x00004000
#define ABOVE_NORMAL_PRIORITY_CLASS 0x00008000

#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_ERROR_RETURN 0x7fffffff

#define ERROR_SUCCESS 0L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_CLASS_ALREADY_EXISTS 1410L
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define ERROR_TIMEOUT 1460L

#define INFINITE 0xFFFFFFFF

// Command line and paths.
LPSTR GetCommandLineA(void);
DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
HMODULE GetModuleHandleA(LPCSTR moduleName);

// Process and threads.
HANDLE GetCurrentProcess(void);
DWORD GetCurrentProcessId(void);
HANDLE GetCurrentThread(void);
DWORD GetCurrentThreadId(void);
BOOL SetPriorityClass(HANDLE process, DWORD priorityClass);
DWORD GetPriorityClass(HANDLE process);
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);
// The runtime's thread start: a thread function with one pointer argument and the default stack
// size when stackSize is 0. Returns a nonzero value on success, (uintptr_t)-1 on failure.
uintptr_t _beginthread(void (*startAddress)(void*), unsigned stackSize, void* arglist);
#define THREAD_SET_INFORMATION 0x0020
#define THREAD_QUERY_INFORMATION 0x0040
// A handle to the thread with this id, for SetThreadPriority from another thread.
HANDLE OpenThread(DWORD desiredAccess, BOOL inheritHandle, DWORD threadId);
BOOL CloseHandle(HANDLE object);

// Clocks.
void Sleep(DWORD milliseconds);
// Sleeps while the 4-byte value at `address` equals the one at `compareAddress`, until a
// WakeByAddressAll on it or `milliseconds` pass (INFINITE: no limit); may also return early
// without either, so callers look at the value again. FALSE with ERROR_TIMEOUT after the time
// limit. Other sizes than 4 are refused with ERROR_INVALID_PARAMETER.
BOOL WaitOnAddress(volatile void* address, void* compareAddress, SIZE_T addressSize, DWORD milliseconds);
// Wakes every thread waiting on `address`.
void WakeByAddressAll(void* address);
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

// Errors, version, debugging, exit.
DWORD GetLastError(void);
void SetLastError(DWORD errorCode);
DWORD GetVersion(void);
BOOL IsDebuggerPresent(void);
void DebugBreak(void);
[[noreturn]] void ExitProcess(UINT exitCode);

// The program's entry point, as on Windows.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int showCmd);
