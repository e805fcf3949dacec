// Text tables of the main, About and splash windows.
#include "app/texts.h"

namespace app {

const wchar_t kProgramTitle[] = L"Tavrik Backup";

namespace {

// The busy "Backup!" button's caption and the About button's while it
// downloads.
const wchar_t* CancelText(bool spanish) { return spanish ? L"CANCELAR" : L"CANCEL"; }

}  // namespace

bool IsSpanish(std::wstring_view lang) {
  // ESP, ESN, ESM and the other Spanish variants all start with ES.
  return lang.substr(0, 2) == L"ES";
}

MainTexts MainTextsFor(std::wstring_view lang) {
  MainTexts t;
  backup::RunTexts& run = t.run;
  backup::CopyTexts& copy = t.run.copy;
  if (IsSpanish(lang)) {
    t.not_found = L"No encontrado";
    t.mail_client_closed = L"Cerrado (OK)";
    t.mail_client_open = L"ABIERTO (ciérrelo)";
    t.select_target = L"Seleccione la carpeta de la copia de seguridad";
    run.enter_target = L"Debe indicar el destino de la copia";
    run.invalid_target =
        L"El destino de la copia no es válido. Por favor, indique un destino válido...";
    run.same_folder = L"La carpeta de copias no puede ser la misma que la carpeta a copiar";
    run.cannot_backup_to = L"No se puede copiar a ";
    run.error_writing = L"Error grabando en ";
    run.cancelled = L"¡Cancelado!";
    run.please_wait = L"Por favor, espere...";
    run.settings_not_saved = L"No se pudo guardar la configuración";
    run.backup_in_progress = L"Copia de seguridad en curso";
    copy.log_folder = L"Carpeta: ";
    copy.log_copied = L"archivo copiado";
    copy.log_not_copied = L"*no copiado*";
    copy.log_user_cancelled = L"cancelado por el usuario";
    copy.log_link_skipped = L"enlace omitido";
    copy.missing_source = L"Carpeta/archivo origen de la copia ";
  } else {
    t.not_found = L"Not found";
    t.mail_client_closed = L"Closed (OK)";
    t.mail_client_open = L"OPEN (close-it)";
    t.select_target = L"Select backup folder";
    run.enter_target = L"Please, enter backup folder";
    run.invalid_target = L"Backup folder is not valid. Please, enter a valid target";
    run.same_folder = L"Backup folder cannot be the same as source folder";
    run.cannot_backup_to = L"Cannot backup to ";
    run.error_writing = L"Error writing to ";
    run.cancelled = L"Canceled!";
    run.please_wait = L"Please, wait...";
    run.settings_not_saved = L"Settings could not be saved";
    run.backup_in_progress = L"Backup in progress";
    copy.log_folder = L"Folder: ";
    copy.log_copied = L"file copied";
    copy.log_not_copied = L"*not copied*";
    copy.log_user_cancelled = L"user cancelled";
    copy.log_link_skipped = L"link skipped";
    copy.missing_source = L"Backup source file/folder ";
  }
  run.cancel = CancelText(IsSpanish(lang));
  copy.not_found = t.not_found;
  return t;
}

MainCaptions MainCaptionsFor(std::wstring_view lang) {
  if (IsSpanish(lang)) {
    return {L"Usuario:", L"S.O.:", L"Correo:", L"Outlook está:", L"Seleccione carpetas",
            L"Tamaño de la copia:", L"Copiar a:", L"Si existen archivos en la carpeta de copias:",
            L"-Los archivos se fusionarán.",
            L"-Archivos con el mismo nombre serán sobreescritos.", L"Crear archivo de log",
            L"Ver archivo de log", L"Archivo", L"Salir", L"Ayuda", L"Acerca de"};
  }
  return {L"User:", L"O.S.:", L"Mail:", L"Outlook is:", L"Select folders", L"Backup size:",
          L"Backup to:", L"If exist files in backup folder:", L"- Files will be merged. ",
          L"- Files with identical name will be overwritten.", L"Write log file", L"View log",
          L"File", L"Exit", L"Help", L"About"};
}

update::AboutTexts AboutTextsFor(std::wstring_view lang) {
  const bool spanish = IsSpanish(lang);
  if (spanish) {
    return {L"Acerca de", L"Versión actual:", L"Nueva versión:", L"CERRAR",
            L"Actualizar Software", CancelText(spanish), L"Buscando...",
            L"No se pudo comprobar si hay una versión nueva"};
  }
  return {L"About", L"Current version:", L"Latest version:", L"CLOSE", L"Update Software",
          CancelText(spanish), L"Searching...", L"Could not check for a new version"};
}

std::wstring SplashLoadingText(std::wstring_view lang) {
  return IsSpanish(lang) ? L"Cargando..." : L"Loading...";
}

}  // namespace app
