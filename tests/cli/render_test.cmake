# humbrook-render run as a program: the WAV it writes, and its usage errors.
# Run with: cmake -DRENDER=<path of humbrook-render> -DWORK=<scratch folder> -P render_test.cmake

# Fails the test with `message` unless the condition in the remaining arguments holds.
function(expect message)
  if(NOT (${ARGN}))
    message(FATAL_ERROR "${message}")
  endif()
endfunction()

# Runs humbrook-render with the given arguments; sets rc, out, out_length and err in the caller.
function(run_render)
  execute_process(COMMAND ${RENDER} ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE errors)
  set(rc "${result}" PARENT_SCOPE)
  set(out "${output}" PARENT_SCOPE)
  string(LENGTH "${output}" length)
  set(out_length ${length} PARENT_SCOPE)
  set(err "${errors}" PARENT_SCOPE)
endfunction()

# The 4 bytes at `offset` of the hex dump as a little-endian number.
function(le32 hex offset result)
  math(EXPR at "${offset} * 2")
  set(value 0)
  foreach(i 3 2 1 0)
    math(EXPR pos "${at} + ${i} * 2")
    string(SUBSTRING "${hex}" ${pos} 2 byte)
    math(EXPR value "${value} * 256 + 0x${byte}")
  endforeach()
  set(${result} ${value} PARENT_SCOPE)
endfunction()

# Checks a rendered file: size, header and format for `frames_per_step` frames per step.
function(check_wave path rate steps frames_per_step)
  math(EXPR data_bytes "${steps} * 4 * ${frames_per_step}")
  math(EXPR file_bytes "${data_bytes} + 44")
  file(SIZE ${path} size)
  expect("${path}: ${size} bytes, expected ${file_bytes}" size EQUAL file_bytes)
  file(READ ${path} hex LIMIT 44 HEX)
  string(SUBSTRING "${hex}" 0 8 riff)
  string(SUBSTRING "${hex}" 16 16 wave_fmt)
  string(SUBSTRING "${hex}" 72 8 data)
  expect("no RIFF tag" riff STREQUAL 52494646)
  expect("no WAVE and fmt tags" wave_fmt STREQUAL 57415645666d7420)
  expect("no data tag" data STREQUAL 64617461)
  le32("${hex}" 4 riff_size)
  le32("${hex}" 16 fmt_size)
  le32("${hex}" 20 tag_channels)
  le32("${hex}" 24 header_rate)
  le32("${hex}" 28 byte_rate)
  le32("${hex}" 32 align_bits)
  le32("${hex}" 40 header_data_bytes)
  math(EXPR expected_riff "${file_bytes} - 8")
  math(EXPR expected_byte_rate "${rate} * 4")
  expect("RIFF size ${riff_size}" riff_size EQUAL expected_riff)
  expect("fmt size ${fmt_size}" fmt_size EQUAL 16)
  expect("not PCM stereo" tag_channels EQUAL 131073) # tag 1, 2 channels
  expect("rate ${header_rate}" header_rate EQUAL rate)
  expect("byte rate ${byte_rate}" byte_rate EQUAL expected_byte_rate)
  expect("not 16-bit frames of 4 bytes" align_bits EQUAL 1048580) # align 4, 16 bits
  expect("data size ${header_data_bytes}" header_data_bytes EQUAL data_bytes)
endfunction()

file(MAKE_DIRECTORY ${WORK})

# The default song at 70 BPM: 4725 frames a step at 22050 Hz, 9450 at 44100 Hz.
run_render(-o ${WORK}/default.wav)
expect("render failed: ${err}" rc EQUAL 0)
expect("standard output is not empty: ${out}" out_length EQUAL 0)
check_wave(${WORK}/default.wav 22050 64 4725)

run_render(--output ${WORK}/fast.wav --steps 3 --rate 44100 --latency 3)
expect("render failed: ${err}" rc EQUAL 0)
check_wave(${WORK}/fast.wav 44100 3 9450)

# Usage errors: status 2, the usage line on standard error, nothing on standard output.
foreach(arguments "" "-n;4" "-o;x.wav;-r;48000" "-o;x.wav;-l;4" "-o;x.wav;-n;0" "-o;x.wav;-n;5x"
                  "-o" "-o;x.wav;a.zwv;stray" "--bogus" "--screenshot;x.png;--zoom;5"
                  "--screenshot;x.png;--zoom;0" "-o;x.wav;--zoom;2")
  run_render(${arguments})
  expect("'${arguments}' exited with ${rc}" rc EQUAL 2)
  expect("'${arguments}' wrote to standard output" out_length EQUAL 0)
  string(FIND "${err}" "usage: humbrook-render" at)
  expect("'${arguments}' printed no usage line: ${err}" at GREATER_EQUAL 0)
endforeach()

# A WAV file given as the song is refused without a title line; the start-up song is rendered.
run_render(${WORK}/default.wav -o ${WORK}/refused.wav -n 1)
expect("a WAV file as the song exited with ${rc}" rc EQUAL 1)
expect("protocol after a WAV file as the song: ${out}"
       out STREQUAL "beep\twarning\nmessage\t\tNot a Humbrook song file\n")
check_wave(${WORK}/refused.wav 22050 1 4725)

# A file that cannot be written is a failure, not a usage error.
run_render(-o ${WORK}/no/such/folder/x.wav -n 1)
expect("unwritable output exited with ${rc}" rc EQUAL 1)

# A script that cannot be read runs nothing: a folder, or an endless device.
foreach(script ${WORK} /dev/zero)
  run_render(--script ${script} -o ${WORK}/after-script.wav -n 1)
  expect("--script ${script} exited with ${rc}" rc EQUAL 1)
  string(FIND "${err}" "the script ${script}" at)
  expect("--script ${script} said nothing about the script: ${err}" at GREATER_EQUAL 0)
  expect("--script ${script} went on to render" NOT EXISTS ${WORK}/after-script.wav)
endforeach()

# A zoomed screenshot is the client area times the zoom (the PNG header holds width and height,
# big-endian); its pixels are checked against zoom 1 by app_tests.
run_render(--screenshot ${WORK}/zoom3.png --zoom 3)
expect("zoomed screenshot failed: ${err}" rc EQUAL 0)
file(READ ${WORK}/zoom3.png size HEX OFFSET 16 LIMIT 8)
expect("zoom 3 picture is ${size}, not 2484 x 1719" size STREQUAL "000009b4000006b7")
