# Sourced by the scripts that install what they need (setup.sh, web.sh).
# install_missing SCRIPT PACKAGE... installs those of the Debian packages that are not there, as
# root or through sudo; without sudo it names them and ends the script.
install_missing() {
  local caller=$1 package
  shift
  local missing=()
  for package in "$@"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  local sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    # A minimal system has no sudo: say what to install rather than "sudo: command not found".
    command -v sudo >/dev/null || {
      echo "$caller: missing packages: ${missing[*]}" >&2
      echo "  install them as root (apt-get install ${missing[*]}) or install sudo, then run this again" >&2
      exit 1
    }
    sudo_cmd=(sudo)
  fi
  "${sudo_cmd[@]}" apt-get update -qq || true
  # Through env: sudo would drop the variable from the environment it was given.
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}
