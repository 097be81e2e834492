#pragma once

// Where the running program answers the automation messages on the session
// bus, and the error a number that is not one of them gets. The program and
// kestrel-send both use these; changing one breaks every client.

namespace kestrel::automation_bus {

inline constexpr char ServiceName[] = "org.plover.Kestrel";
inline constexpr char ObjectPath[] = "/Kestrel";
inline constexpr char InterfaceName[] = "org.plover.Kestrel.Automation";
// SendMessage(u message, u wParam, i lParam) -> i result
inline constexpr char MethodName[] = "SendMessage";
inline constexpr char UnknownMessageError[] = "org.plover.Kestrel.Error.UnknownMessage";
// Every call that reaches the program while it quits, instead of running.
inline constexpr char QuittingError[] = "org.plover.Kestrel.Error.Quitting";

}  // namespace kestrel::automation_bus

namespace kestrel::automation_bus::typed {

// The typed interface beside the numeric one, on the same service name:
// methods with named, typed arguments (see TypedAutomation in the program).
inline constexpr char ObjectPath[] = "/org/plover/Kestrel";
inline constexpr char InterfaceName[] = "org.plover.Kestrel1";
// Each error is this prefix and a name: Refused, InvalidText, ...
inline constexpr char ErrorPrefix[] = "org.plover.Kestrel1.Error.";

}  // namespace kestrel::automation_bus::typed
