-- Run by MAME with -autoboot_script: saves the 6912 bytes of the Spectrum's
-- screen memory (bitmap and attributes from 0x4000) as screen-1.bin after
-- one second of emulated time and as screen-2.bin two seconds later. The
-- example shows each of its two pictures for two seconds.
local screen_start = 0x4000
local screen_size = 6912

local function save_screen(name)
  local memory = manager.machine.devices[":maincpu"].spaces["program"]
  local file = assert(io.open(name, "wb"))
  file:write(memory:read_range(screen_start, screen_start + screen_size - 1, 8))
  file:close()
end

-- emu.wait lets emulated time pass; it may only be called from a coroutine.
local script = coroutine.create(function()
  emu.wait(1.0)
  save_screen("screen-1.bin")
  emu.wait(2.0)
  save_screen("screen-2.bin")
end)
assert(coroutine.resume(script))
